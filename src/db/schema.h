#pragma once
// The schema catalogue: every table of the local database with its columns,
// types, text sizes (CP949 bytes), keys, orders, indexes and master-detail
// links. The create steps, the blank database, the table objects and the
// value checks all read it, so a table is described in one place only.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <stdexcept>
#include <vector>

namespace orvan {

enum class ColType { Text, Int32, Int16, Money, Date, DateTime, Bool, AutoInc };

// How a grid shows a column's value.
enum class DisplayFormat { Plain, Money, Count };

struct Column {
  QString name;
  ColType type = ColType::Text;
  int size = 0;  // text(n): n CP949 bytes
  bool required = false;
  QString heading;     // the Korean grid heading, empty when none
  bool addedByStep = false;  // added to older databases by the schema steps
  QVariant defaultValue;     // for added columns: what existing rows get
  DisplayFormat format = DisplayFormat::Plain;
};

struct Index {
  QString name;
  QStringList columns;
  bool unique = false;
  bool caseInsensitive = false;
};

struct TableDef {
  QString name;
  std::vector<Column> columns;
  QStringList order;       // the order through which the program reads the table
  Index primary;           // columns empty: the table has no key
  std::vector<Index> indexes;  // secondary indexes
  QString master;          // detail tables: the master table
  QStringList linkColumns;    // detail columns that carry the master's key
  QStringList masterColumns;  // the master's columns they match
  bool createdByStep = false;  // created in older databases by the schema steps

  int columnIndex(const QString& column) const;  // case-insensitive, -1 when missing
  const Column* column(const QString& name) const;
  bool hasColumn(const QString& name) const { return columnIndex(name) >= 0; }
};

// Failures of the database layer. The kind lets editors tell a duplicate key
// or a missing required value from other faults, as their messages differ.
class DbError : public std::runtime_error {
 public:
  enum Kind { Engine, KeyViolation, RequiredMissing, BadValue };
  DbError(Kind kind, const QString& text) : std::runtime_error(text.toStdString()), kind_(kind) {}
  Kind kind() const { return kind_; }
  QString text() const { return QString::fromStdString(what()); }

 private:
  Kind kind_;
};

// Every table, in creation order.
const std::vector<TableDef>& Catalogue();
// The catalogue of a database from before the consent and evidence
// functions: without the step-created tables and the step-added columns.
std::vector<TableDef> PreConsentCatalogue();
// Case-insensitive; nullptr when the table is unknown.
const TableDef* FindTableDef(const QString& name);

// The declared SQL type of a column (its affinity follows from it).
QString SqlType(const Column& c);
// CREATE TABLE and CREATE INDEX statements of a table.
QStringList CreateStatements(const TableDef& t);
// Index names belong to their table, but the engine keeps one name space
// per database: a name that two tables share (Ndx_ID of Recv and Note) is
// stored with the table's name in front ("Recv_Ndx_ID").
QString PhysicalIndexName(const TableDef& t, const Index& ix);
// "ALTER TABLE ... ADD ..." for a column, with its default.
QString AddColumnStatement(const QString& table, const Column& c);

// Creates every table of the catalogue that does not exist yet; returns the
// names created. Throws DbError on an engine failure.
QStringList CreateMissingTables(QSqlDatabase& db, const std::vector<TableDef>& catalogue);
bool TableExists(const QSqlDatabase& db, const QString& table);
bool ColumnExists(const QSqlDatabase& db, const QString& table, const QString& column);

// The value stored for a column: text cut at the last whole CP949 character
// within its size, trailing blanks dropped; dates as 'YYYY-MM-DD', date-times
// as 'YYYY-MM-DD HH:MM:SS'; booleans 0/1; money and integers as integers.
// Empty values become NULL, except texts which store ''. Throws DbError
// (BadValue) for a value the column cannot hold.
QVariant ToStored(const Column& c, const QVariant& value);
// The value as the program works with it: QString, int, qint64, QDate,
// QDateTime or bool; NULL stays an invalid QVariant (text: empty QString).
QVariant FromStored(const Column& c, const QVariant& stored);
// A text shortened to at most n CP949 bytes without splitting a character.
QString CutToBytes(const QString& text, int n);

}  // namespace orvan
