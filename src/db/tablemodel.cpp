#include "db/tablemodel.h"

namespace orvan {

DbTableModel::DbTableModel(DbTable* table, const QStringList& fields, QObject* parent)
    : DbTableModel(table, fields, {}, parent) {}

DbTableModel::DbTableModel(DbTable* table, const QStringList& fields, const QStringList& headings, QObject* parent)
    : QAbstractTableModel(parent), table_(table), fields_(fields), headings_(headings) {
  resolve();
  connect(table_, &DbTable::aboutToReset, this, [this] { beginResetModel(); });
  connect(table_, &DbTable::wasReset, this, [this] {
    resolve();
    endResetModel();
  });
  connect(table_, &DbTable::rowAboutToBeInserted, this, [this](int r) { beginInsertRows({}, r, r); });
  connect(table_, &DbTable::rowInserted, this, [this](int) { endInsertRows(); });
  connect(table_, &DbTable::rowAboutToBeRemoved, this, [this](int r) { beginRemoveRows({}, r, r); });
  connect(table_, &DbTable::rowRemoved, this, [this](int) { endRemoveRows(); });
  connect(table_, &DbTable::rowChanged, this, [this](int r) {
    if (!fields_.isEmpty()) Q_EMIT dataChanged(index(r, 0), index(r, static_cast<int>(fields_.size()) - 1));
  });
}

void DbTableModel::resolve() {
  index_.assign(fields_.size(), -1);
  rightAligned_.assign(fields_.size(), false);
  if (!table_) return;
  for (int i = 0; i < fields_.size(); ++i) {
    int f = table_->col(fields_[i]);
    index_[i] = f;
    if (f >= 0 && f < table_->columnCount()) {
      ColType t = table_->columns()[f].type;
      rightAligned_[i] = t == ColType::Money || t == ColType::Int32 || t == ColType::Int16;
    }
  }
}

int DbTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !table_ ? 0 : table_->rowCount();
}

int DbTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

QVariant DbTableModel::data(const QModelIndex& idx, int role) const {
  if (!table_ || !idx.isValid() || idx.row() >= table_->rowCount() || idx.column() >= columnCount()) return {};
  int f = index_[idx.column()];
  if (f < 0) return {};
  switch (role) {
    case Qt::DisplayRole: return table_->displayText(idx.row(), f);
    case Qt::EditRole: return table_->valueAt(idx.row(), f);
    case Qt::TextAlignmentRole:
      return rightAligned_[idx.column()] ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                         : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    default: return {};
  }
}

QVariant DbTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= fields_.size()) return {};
  if (section < headings_.size() && !headings_[section].isEmpty()) return headings_[section];
  int f = index_[section];
  if (table_ && f >= 0 && f < table_->columnCount() && !table_->columns()[f].heading.isEmpty())
    return table_->columns()[f].heading;
  return fields_[section];
}

std::vector<qint64> DbTableModel::rowIds(const std::vector<int>& rows) const {
  std::vector<qint64> out;
  if (!table_) return out;
  for (int r : rows)
    if (r >= 0 && r < table_->rowCount()) out.push_back(table_->rowId(r));
  return out;
}

}  // namespace orvan
