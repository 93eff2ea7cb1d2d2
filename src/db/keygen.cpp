#include "db/keygen.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include "db/schema.h"
#include "db/sqlstatement.h"
#include "db/table.h"

namespace orvan {

namespace {

const QString kKeyTable = QStringLiteral("KeyTable");

// Table names cannot be bound; they are quoted as identifiers instead, so a
// name can never end the statement.
QString identifier(const QString& name) {
  QString n = name;
  n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + n + QLatin1Char('"');
}

QSqlQuery run(QSqlDatabase db, const QString& sql, const QVariantList& values = {}) {
  return ExecSql(std::move(db), sql, values);
}

}  // namespace

TKeyGen::TKeyGen(const QString& dataDir, const QString& connectionName)
    : dataDir_(dataDir), connection_(connectionName), sleeper_([](int ms) { QThread::msleep(ms); }) {}

QSqlDatabase TKeyGen::db() const { return QSqlDatabase::database(connection_, false); }

const QStringList& TKeyGen::SeededTables() {
  static const QStringList names = {QStringLiteral("Trans"),  QStringLiteral("Cms"),
                                    QStringLiteral("Trade"),  QStringLiteral("CTrade"),
                                    QStringLiteral("CHBTrade"), QStringLiteral("Purchase")};
  return names;
}

int TKeyGen::seedValue(const QString& table) {
  if (!TableExists(db(), table) || !ColumnExists(db(), table, QStringLiteral("ID"))) return 1;
  QSqlQuery q = run(db(), QStringLiteral("SELECT count(*), max(ID) FROM ") + identifier(table));
  if (!q.next() || q.value(0).toLongLong() == 0) return 1;
  return q.value(1).toInt() + 1;
}

void TKeyGen::seed(const QString& table) {
  int k = seedValue(table);
  run(db(), QStringLiteral("INSERT INTO KeyTable (tblname, keyval_next) VALUES (?, ?)"), {table, k});
  DbTable::noteExternalWrite(kKeyTable);
  lastKey_ = k;
}

QStringList TKeyGen::EnsureKeyTable() {
  QSqlDatabase d = db();
  created_ = false;
  QStringList seeded;
  DbTransaction tx(d);
  if (!TableExists(d, kKeyTable)) {
    for (const QString& sql : CreateStatements(*FindTableDef(kKeyTable))) run(d, sql);
    created_ = true;
  }
  for (const QString& name : SeededTables()) {
    QSqlQuery q = run(d, QStringLiteral("SELECT 1 FROM KeyTable WHERE tblname = ?"), {name});
    if (q.next()) continue;
    q.finish();
    seed(name);
    seeded << name;
  }
  tx.commit();
  return seeded;
}

bool TKeyGen::keyInUse(const QString& table, int key) {
  if (!TableExists(db(), table) || !ColumnExists(db(), table, QStringLiteral("ID"))) return false;
  QSqlQuery q = run(db(), QStringLiteral("SELECT 1 FROM %1 WHERE ID = ? LIMIT 1").arg(identifier(table)), {key});
  return q.next();
}

int TKeyGen::NextKey(const QString& table) {
  QSqlDatabase d = db();
  int k = 0;
  {
    DbTransaction tx(d);
    QSqlQuery q = run(d, QStringLiteral("SELECT keyval_next FROM KeyTable WHERE tblname = ?"), {table});
    bool found = q.next();
    int stored = found ? q.value(0).toInt() : 0;
    q.finish();
    if (!found) {
      // A table without its row would get key 1 for ever; start it where
      // its rows end, as the seeding does.
      seed(table);
      stored = lastKey_;
    }
    k = stored;
    int tries = 0;
    do {
      k = k + 1 > kMaxKey || k + 1 < 1 ? 1 : k + 1;
      if (++tries > kMaxKey)
        throw DbError(DbError::KeyViolation, table + QStringLiteral(": 사용할 수 있는 번호가 없습니다."));
    } while (keyInUse(table, k));
    run(d, QStringLiteral("UPDATE KeyTable SET keyval_next = ? WHERE tblname = ?"), {k, table});
    DbTable::noteExternalWrite(kKeyTable);
    tx.commit();
  }
  lastKey_ = k;
  if (sleeper_) sleeper_(kPauseMs);
  return k;
}

}  // namespace orvan
