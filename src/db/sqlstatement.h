#pragma once
// A prepared statement straight on the engine under a Qt SQL connection.
// The table objects post and read their rows through it: binding through
// the generic layer costs more than the engine's own work for bulk posts.
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <QSqlQuery>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

namespace orvan {

// Runs a statement through Qt SQL with its values bound in order; throws
// DbError when it does not prepare or run.
QSqlQuery ExecSql(QSqlDatabase db, const QString& sql, const QVariantList& values = {});

class SqlStatement {
 public:
  // Throws DbError when the connection is not an open SQLite one or the
  // statement does not prepare.
  SqlStatement(const QSqlDatabase& db, const QString& sql);
  ~SqlStatement();
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  // Still prepared on the connection's current handle (a reopened
  // connection has a new one).
  bool validFor(const QSqlDatabase& db) const;

  // Parameters are counted from 0. Strings bind as text, integers and
  // booleans as integers, an invalid or null value as NULL.
  void bind(int index, const QVariant& value);
  void bindText(int index, const QString& text);
  // UTF-8 bytes the caller keeps unchanged until the statement has run.
  void bindUtf8NoCopy(int index, const char* data, int size);
  void bindInt(int index, qint64 value);
  void bindNull(int index);
  // True while a row is there; throws DbError on failure (key violations
  // and missing required values with their kind).
  bool step();
  // Ready to run again; clearBindings false when every parameter is bound
  // anew anyway.
  void reset(bool clearBindings = true);
  qint64 lastInsertRowId() const;
  int changes() const;

  int columnCount() const;
  bool isNull(int column) const;
  qint64 intValue(int column) const;
  QString textValue(int column) const;
  // INTEGER as qlonglong, REAL as double, TEXT as QString, NULL invalid.
  QVariant value(int column) const;

  static sqlite3* handleOf(const QSqlDatabase& db);

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace orvan
