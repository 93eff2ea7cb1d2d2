#include "db/sqlstatement.h"

#include <QSqlDriver>
#include <QSqlError>
#include <sqlite3.h>

#include "db/schema.h"

namespace orvan {

QSqlQuery ExecSql(QSqlDatabase db, const QString& sql, const QVariantList& values) {
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.prepare(sql)) throw DbError(DbError::Engine, sql + QStringLiteral(": ") + q.lastError().text());
  for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
  if (!q.exec()) throw DbError(DbError::Engine, sql + QStringLiteral(": ") + q.lastError().text());
  return q;
}

namespace {

[[noreturn]] void fail(sqlite3* db, const QString& what) {
  int code = db ? sqlite3_extended_errcode(db) : SQLITE_MISUSE;
  DbError::Kind kind = DbError::Engine;
  if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
    kind = DbError::KeyViolation;
  else if (code == SQLITE_CONSTRAINT_NOTNULL)
    kind = DbError::RequiredMissing;
  QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no database");
  throw DbError(kind, what + QStringLiteral(": ") + text);
}

}  // namespace

sqlite3* SqlStatement::handleOf(const QSqlDatabase& db) {
  if (!db.isOpen() || !db.driver()) return nullptr;
  QVariant h = db.driver()->handle();
  if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(h.constData());
}

SqlStatement::SqlStatement(const QSqlDatabase& db, const QString& sql) : db_(handleOf(db)) {
  if (!db_) throw DbError(DbError::Engine, db.connectionName() + QStringLiteral(": not open"));
  QByteArray utf8 = sql.toUtf8();
  if (sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &stmt_, nullptr) != SQLITE_OK) {
    stmt_ = nullptr;
    fail(db_, sql);
  }
}

SqlStatement::~SqlStatement() {
  if (stmt_) sqlite3_finalize(stmt_);
}

bool SqlStatement::validFor(const QSqlDatabase& db) const { return stmt_ && handleOf(db) == db_; }

void SqlStatement::bindText(int index, const QString& text) {
  // The text is copied by the engine before the call returns.
  static const char16_t empty[] = u"";
  const void* data = text.isNull() ? static_cast<const void*>(empty) : static_cast<const void*>(text.utf16());
  sqlite3_bind_text16(stmt_, index + 1, data, static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
}

void SqlStatement::bindInt(int index, qint64 value) { sqlite3_bind_int64(stmt_, index + 1, value); }
void SqlStatement::bindNull(int index) { sqlite3_bind_null(stmt_, index + 1); }

void SqlStatement::bind(int index, const QVariant& value) {
  if (!value.isValid() || value.isNull()) {
    if (value.typeId() == QMetaType::QString)
      bindText(index, QString());
    else
      bindNull(index);
    return;
  }
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::Bool: bindInt(index, value.toLongLong()); return;
    case QMetaType::Double: sqlite3_bind_double(stmt_, index + 1, value.toDouble()); return;
    default: bindText(index, value.toString());
  }
}

bool SqlStatement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  QString sql = QString::fromUtf8(sqlite3_sql(stmt_));
  sqlite3_reset(stmt_);
  fail(db_, sql);
}

void SqlStatement::reset(bool clearBindings) {
  sqlite3_reset(stmt_);
  if (clearBindings) sqlite3_clear_bindings(stmt_);
}

void SqlStatement::bindUtf8NoCopy(int index, const char* data, int size) {
  sqlite3_bind_text(stmt_, index + 1, data, size, SQLITE_STATIC);
}

qint64 SqlStatement::lastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }
int SqlStatement::changes() const { return sqlite3_changes(db_); }
int SqlStatement::columnCount() const { return sqlite3_column_count(stmt_); }
bool SqlStatement::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
qint64 SqlStatement::intValue(int column) const { return sqlite3_column_int64(stmt_, column); }

QString SqlStatement::textValue(int column) const {
  const unsigned char* t = sqlite3_column_text(stmt_, column);
  int n = sqlite3_column_bytes(stmt_, column);
  if (!t || n == 0) return QString();
  return QString::fromUtf8(reinterpret_cast<const char*>(t), n);
}

QVariant SqlStatement::value(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER: return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt_, column));
    case SQLITE_NULL: return QVariant();
    default: return QVariant(textValue(column));
  }
}

}  // namespace orvan
