#pragma once
// DbTable: the table object through which windows and operations walk one
// table: a current row, an order, a filter, edit/insert/post/cancel/delete,
// a master-detail link (the detail follows the master's current row) and
// display fields computed per row by a handler.
//
// The rows of the open table (after filter and link) are held in memory, so
// grids read them without touching the engine; every post and delete is
// written through at once with bound parameters.
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/schema.h"
#include "db/sqlstatement.h"

namespace orvan {

class DbTable;

// The row a display-field handler computes for: stored values by column
// index (DbTable::col) or name; the handler writes the display values.
struct CalcRow {
  const DbTable& table;
  const std::vector<QVariant>& values;  // stored values of the row
  std::vector<QVariant>& fields;        // one per display field, in declaration order
  QVariant value(int col) const { return col >= 0 && col < static_cast<int>(values.size()) ? values[col] : QVariant(); }
  QVariant value(const QString& name) const;
  QString text(int col) const { return value(col).toString(); }
  void set(int field, const QVariant& v) { fields[field] = v; }
};
using CalcHandler = std::function<void(CalcRow&)>;

// Formats the display text of a stored column; set per column for the
// columns that show something other than their value.
using DisplayFunction = std::function<QString(const DbTable&, int row, const QVariant& value)>;

class DbTable : public QObject {
  Q_OBJECT

 public:
  enum State { Inactive, Browse, Edit, Insert };
  enum Event { AfterOpen, AfterClose, AfterInsert, AfterEdit, AfterPost, AfterCancel, AfterDelete, AfterScroll };

  // The table is described by the catalogue when it knows the name; the
  // columns themselves are read from the database when the table opens, so
  // an older database without the added columns still opens.
  DbTable(const QString& connectionName, const QString& tableName, QObject* parent = nullptr);
  ~DbTable() override;

  const QString& tableName() const { return tableName_; }
  QSqlDatabase database() const;
  // ReopenAllTables opens only the tables whose tag is 0.
  int tag = 0;

  // Structure, valid while open: stored columns, then display fields.
  const std::vector<Column>& columns() const { return columns_; }
  int columnCount() const { return static_cast<int>(columns_.size()); }
  // Index of a stored column (0..columnCount-1) or display field
  // (columnCount + k), case-insensitive; -1 when neither.
  int col(const QString& name) const;
  bool hasField(const QString& name) const { return col(name) >= 0; }
  const QStringList& calcFieldNames() const { return calcNames_; }
  QString fieldName(int index) const;

  void open();
  void close();
  bool isOpen() const { return state_ != Inactive; }
  // Reads the rows again, staying on the same row where it still exists.
  void refresh();

  // The filter is an SQL condition with '?' placeholders for its values.
  void setFilter(const QString& condition, const QVariantList& values = {});
  const QString& filter() const { return filter_; }
  void setFiltered(bool on);
  bool filtered() const { return filtered_; }
  // Filter text and values cleared and the filter switched off.
  void clearFilter();

  // Links this table as a detail of the master through the link columns of
  // the catalogue (or the ones given).
  void setMaster(DbTable* master, const QStringList& linkColumns = {}, const QStringList& masterColumns = {});
  DbTable* master() const { return master_; }

  // Navigation.
  int rowCount() const { return static_cast<int>(rows_.size()); }
  bool isEmpty() const { return rows_.empty(); }
  int recNo() const { return cur_; }  // -1 when empty
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  void first();
  void last();
  void next();
  void prior();
  void moveTo(int row);
  // Moves to the first row whose columns equal the values; false (staying
  // put) when there is none.
  bool locate(const QStringList& columns, const QVariantList& values);
  qint64 rowId(int row) const { return rows_[row].rowid; }
  int rowOfRowId(qint64 rowid) const;

  // Values of the current row (the edit buffer while editing).
  QVariant value(const QString& name) const;
  QVariant value(int index) const;
  QString text(const QString& name) const { return value(name).toString(); }
  int toInt(const QString& name) const { return value(name).toInt(); }
  qint64 money(const QString& name) const { return value(name).toLongLong(); }
  bool flag(const QString& name) const { return value(name).toBool(); }
  // Values of any row.
  QVariant valueAt(int row, int index) const;
  QVariant valueAt(int row, const QString& name) const;
  // Display text of any row (money with the won sign, counts grouped, dates
  // as yyyy-MM-dd, display functions applied).
  QString displayText(int row, int index) const;

  State state() const { return state_; }
  void edit();
  void append();
  // Only in Edit or Insert state; the value is checked against the column
  // (text cut at its size, see ToStored). Throws DbError.
  void setValue(const QString& name, const QVariant& v);
  void setValue(int index, const QVariant& v);
  // Writes the edit buffer. Throws DbError (KeyViolation, RequiredMissing,
  // Engine); the buffer then stays, as the editors keep the entry open.
  void post();
  void cancel();
  // Deletes the current row.
  void remove();
  // Deletes the given rows in one transaction.
  void removeRows(std::vector<int> rows);

  // Display fields.
  void setCalcFields(const QStringList& names, CalcHandler handler);
  void setCalcHandler(CalcHandler handler);  // keeps the names; nullptr detaches
  bool hasCalcHandler() const { return static_cast<bool>(calc_); }
  void setDisplayFunction(const QString& column, DisplayFunction f);
  // Makes every row compute its display fields again on next read.
  void invalidateDisplayFields();

  // Data source hooks of the windows (removed by the data module's reset).
  std::function<void(DbTable&)> onStateChange;
  std::function<void(DbTable&)> onDataChange;
  std::function<void(DbTable&)> onUpdateData;
  void clearDataSourceHooks();
  // The data module's own event hook (not removed by the reset).
  std::function<void(DbTable&, Event)> eventHook;

  // Raised by every write through any table object, and by callers that
  // change reference tables with their own statements: display fields and
  // lookup caches keyed on it recompute.
  static quint64 writeGeneration();
  // The same per table (case-insensitive name).
  static quint64 writeGeneration(const QString& table);
  static void noteExternalWrite(const QString& table = {});

 Q_SIGNALS:
  void aboutToReset();
  void wasReset();
  void rowAboutToBeInserted(int row);
  void rowInserted(int row);
  void rowAboutToBeRemoved(int row);
  void rowRemoved(int row);
  void rowChanged(int row);
  void currentChanged(int row);
  void stateChanged();

 private:
  struct Row {
    qint64 rowid = 0;
    std::vector<QVariant> v;
    mutable std::vector<QVariant> calc;
    mutable quint64 calcGen = 0;
    mutable quint64 calcHandler = 0;
  };

  void loadColumns();
  void load();
  void setCurrent(int row, bool force = false);
  void masterMoved();
  bool linkValuesChanged() const;
  QVariantList masterLinkValues() const;
  const std::vector<QVariant>& calcOf(int row) const;
  int insertPosition(const Row& r) const;
  int compareOrder(const Row& a, const Row& b) const;
  void fire(Event e);
  void setState(State s);
  void checkRequired(const Row& r) const;
  [[noreturn]] void throwSql(const QSqlQuery& q, const QString& what) const;
  [[noreturn]] void throwSqlError(const QSqlError& error, const QString& what) const;
  void resolveDisplayFunctions();
  void rebuildExact();
  void noteWrite();

  QString connection_;
  QString tableName_;
  QString lowerName_;
  const TableDef* def_ = nullptr;
  std::string scratch_;
  std::vector<Column> columns_;
  QHash<QString, int> index_;  // lower-case name -> field index
  mutable QHash<QString, int> exact_;  // names as asked for -> field index
  std::vector<int> orderCols_;
  QStringList calcNames_;
  CalcHandler calc_;
  quint64 handlerStamp_ = 1;
  QHash<int, DisplayFunction> displayFns_;
  QHash<QString, DisplayFunction> displayByName_;

  std::vector<Row> rows_;
  int cur_ = -1;
  bool eof_ = true, bof_ = true;
  State state_ = Inactive;
  Row buffer_;

  QString filter_;
  QVariantList filterValues_;
  bool filtered_ = false;

  DbTable* master_ = nullptr;
  QStringList linkCols_, masterCols_;
  QVariantList loadedLink_;

  std::unique_ptr<SqlStatement> insertQuery_;
  std::unique_ptr<SqlStatement> updateQuery_;
  int autoIncCol_ = -1;
};

// One transaction on a connection: committed by commit(), rolled back when
// it goes out of scope without. Bulk writes through table objects run inside
// one so that 100,000 lines cost one disk write.
class DbTransaction {
 public:
  explicit DbTransaction(QSqlDatabase db);
  ~DbTransaction();
  void commit();
  DbTransaction(const DbTransaction&) = delete;
  DbTransaction& operator=(const DbTransaction&) = delete;

 private:
  QSqlDatabase db_;
  bool open_ = false;
};

// "₩1,234" and "1,234".
QString FormatWon(qint64 amount);
QString FormatCount(qint64 n);

}  // namespace orvan
