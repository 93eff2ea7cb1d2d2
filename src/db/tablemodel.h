#pragma once
// DbTableModel: an item model over a table object for the grids of the
// batch windows. Rows are the table's rows in its order; columns are the
// stored columns and display fields chosen by the window. The model follows
// the table (open, refresh, post, delete) and reads straight from its rows.
#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <vector>

#include "db/table.h"

namespace orvan {

class DbTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Columns by field name; headings default to the column's Korean heading,
  // or the field name when it has none.
  DbTableModel(DbTable* table, const QStringList& fields, QObject* parent = nullptr);
  DbTableModel(DbTable* table, const QStringList& fields, const QStringList& headings, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // DisplayRole: the display text (money "₩1,234", counts "1,234");
  // EditRole: the value; TextAlignmentRole: numbers to the right.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  DbTable* table() const { return table_; }
  const QStringList& fields() const { return fields_; }
  // Row ids of model rows, for acting on a multi-row selection after the
  // rows have moved.
  std::vector<qint64> rowIds(const std::vector<int>& rows) const;

 private:
  void resolve();

  QPointer<DbTable> table_;
  QStringList fields_;
  QStringList headings_;
  std::vector<int> index_;  // field index in the table per model column
  std::vector<bool> rightAligned_;
};

}  // namespace orvan
