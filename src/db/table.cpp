#include "db/table.h"

#include <QDate>
#include <QDateTime>
#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>

namespace orvan {

namespace {

quint64 g_writeGeneration = 1;
QHash<QString, int>& transactionDepth() {
  static QHash<QString, int> depth;
  return depth;
}

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

Column columnFromDeclared(const QString& name, const QString& declared, bool pk) {
  Column c;
  c.name = name;
  QString t = declared.toUpper();
  if (t.startsWith(QLatin1String("VARCHAR")) || t.startsWith(QLatin1String("CHAR"))) {
    c.type = ColType::Text;
    int open = t.indexOf(QLatin1Char('('));
    c.size = open >= 0 ? t.mid(open + 1, t.indexOf(QLatin1Char(')')) - open - 1).toInt() : 255;
  } else if (t.startsWith(QLatin1String("SMALLINT"))) {
    c.type = ColType::Int16;
  } else if (t.startsWith(QLatin1String("MONEY"))) {
    c.type = ColType::Money;
    c.format = DisplayFormat::Money;
  } else if (t.startsWith(QLatin1String("DATETIME"))) {
    c.type = ColType::DateTime;
  } else if (t.startsWith(QLatin1String("DATE"))) {
    c.type = ColType::Date;
  } else if (t.startsWith(QLatin1String("BOOL"))) {
    c.type = ColType::Bool;
  } else if (t.contains(QLatin1String("INT"))) {
    c.type = pk ? ColType::AutoInc : ColType::Int32;
  } else {
    c.type = ColType::Text;
    c.size = 255;
  }
  return c;
}

int compareValues(const Column& c, const QVariant& a, const QVariant& b) {
  bool an = !a.isValid() || a.isNull(), bn = !b.isValid() || b.isNull();
  if (c.type == ColType::Text) {
    // Texts are stored as '' rather than NULL, so both sort alike.
    return a.toString().compare(b.toString(), Qt::CaseSensitive);
  }
  if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
  switch (c.type) {
    case ColType::Date: {
      QDate x = a.toDate(), y = b.toDate();
      return x < y ? -1 : (y < x ? 1 : 0);
    }
    case ColType::DateTime: {
      QDateTime x = a.toDateTime(), y = b.toDateTime();
      return x < y ? -1 : (y < x ? 1 : 0);
    }
    default: {
      qlonglong x = a.toLongLong(), y = b.toLongLong();
      return x < y ? -1 : (y < x ? 1 : 0);
    }
  }
}

// UTF-16 to UTF-8 into the scratch buffer (the engine stores UTF-8).
void appendUtf8(std::string& out, const QString& text) {
  const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    char32_t u = p[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (p[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = 0xFFFD;
    }
    if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
    } else if (u < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (u >> 12)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (u >> 18)));
      out.push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    }
    if (u >= 0x80) out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

// Binds a row. The buffer holds values already checked by setValue (or read
// from the table); binding only turns them into their stored form. Texts go
// through one scratch buffer, bound without copies once it is complete.
void bindRow(SqlStatement& q, const std::vector<Column>& columns, const std::vector<QVariant>& v,
             std::string& scratch) {
  scratch.clear();
  thread_local std::vector<std::pair<size_t, size_t>> spans;
  spans.assign(columns.size(), {0, 0});
  for (size_t i = 0; i < columns.size(); ++i) {
    const Column& c = columns[i];
    switch (c.type) {
      case ColType::Text: {
        size_t start = scratch.size();
        appendUtf8(scratch, v[i].typeId() == QMetaType::QString ? v[i].toString() : ToStored(c, v[i]).toString());
        spans[i] = {start, scratch.size() - start};
        break;
      }
      case ColType::Int32:
      case ColType::Int16:
      case ColType::Money:
      case ColType::AutoInc:
        if (!v[i].isValid() || v[i].isNull())
          q.bindNull(static_cast<int>(i));
        else
          q.bindInt(static_cast<int>(i), v[i].toLongLong());
        break;
      default: q.bind(static_cast<int>(i), ToStored(c, v[i]));
    }
  }
  static const char empty[] = "";
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].type == ColType::Text)
      q.bindUtf8NoCopy(static_cast<int>(i), spans[i].second ? scratch.data() + spans[i].first : empty,
                       static_cast<int>(spans[i].second));
}

bool isBlank(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return true;
  return v.typeId() == QMetaType::QString && v.toString().isEmpty();
}

}  // namespace

QVariant CalcRow::value(const QString& name) const { return value(table.col(name)); }

DbTable::DbTable(const QString& connectionName, const QString& tableName, QObject* parent)
    : QObject(parent),
      connection_(connectionName),
      tableName_(tableName),
      lowerName_(tableName.toLower()),
      def_(FindTableDef(tableName)) {
  setObjectName(QStringLiteral("tbl") + tableName);
  if (def_) {
    linkCols_ = def_->linkColumns;
    masterCols_ = def_->masterColumns;
  }
}

DbTable::~DbTable() = default;

QSqlDatabase DbTable::database() const { return QSqlDatabase::database(connection_, false); }

QHash<QString, quint64>& tableGenerations() {
  static QHash<QString, quint64> generations;
  return generations;
}

quint64 DbTable::writeGeneration() { return g_writeGeneration; }
quint64 DbTable::writeGeneration(const QString& table) { return tableGenerations().value(table.toLower(), 0); }
void DbTable::noteExternalWrite(const QString& table) {
  ++g_writeGeneration;
  if (table.isEmpty()) {
    for (auto it = tableGenerations().begin(); it != tableGenerations().end(); ++it) ++it.value();
  } else {
    ++tableGenerations()[table.toLower()];
  }
}

int DbTable::col(const QString& name) const {
  if (auto it = exact_.constFind(name); it != exact_.cend()) return *it;
  int i = index_.value(name.toLower(), -1);
  // Handlers ask with their own spelling ("BankID" of a column "BankId")
  // for every row: remember it.
  if (i >= 0) exact_.insert(name, i);
  return i;
}

QString DbTable::fieldName(int index) const {
  if (index < 0) return {};
  if (index < columnCount()) return columns_[index].name;
  index -= columnCount();
  return index < calcNames_.size() ? calcNames_[index] : QString();
}

void DbTable::loadColumns() {
  QSqlDatabase db = database();
  QSqlQuery q(db);
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"));
  q.addBindValue(tableName_);
  if (!q.exec()) throwSql(q, tableName_);
  columns_.clear();
  int pkCount = 0;
  std::vector<std::pair<QString, QString>> found;
  QString pkName;
  while (q.next()) {
    found.emplace_back(q.value(0).toString(), q.value(1).toString());
    if (q.value(2).toInt() > 0) {
      ++pkCount;
      pkName = q.value(0).toString();
    }
  }
  if (found.empty()) throw DbError(DbError::Engine, QStringLiteral("no such table: ") + tableName_);
  autoIncCol_ = -1;
  for (const auto& [name, declared] : found) {
    const Column* known = def_ ? def_->column(name) : nullptr;
    Column c = known ? *known : columnFromDeclared(name, declared, pkCount == 1 && name == pkName);
    c.name = name;
    if (c.type == ColType::AutoInc) autoIncCol_ = static_cast<int>(columns_.size());
    columns_.push_back(std::move(c));
  }
  index_.clear();
  for (int i = 0; i < columnCount(); ++i) index_.insert(columns_[i].name.toLower(), i);
  for (int k = 0; k < calcNames_.size(); ++k)
    if (!index_.contains(calcNames_[k].toLower())) index_.insert(calcNames_[k].toLower(), columnCount() + k);
  rebuildExact();
  resolveDisplayFunctions();
  orderCols_.clear();
  if (def_)
    for (const QString& o : def_->order)
      if (int i = col(o); i >= 0 && i < columnCount()) orderCols_.push_back(i);
  insertQuery_.reset();
  updateQuery_.reset();
}

QVariantList DbTable::masterLinkValues() const {
  QVariantList out;
  for (const QString& m : masterCols_) out << (master_ && master_->isOpen() && (master_->recNo() >= 0 ||
                                                                                 master_->state() == Insert)
                                                   ? master_->value(m)
                                                   : QVariant());
  return out;
}

void DbTable::load() {
  rows_.clear();
  loadedLink_.clear();
  QStringList where;
  QVariantList binds;
  if (master_) {
    loadedLink_ = masterLinkValues();
    bool any = false;
    for (const QVariant& v : loadedLink_) any = any || !isBlank(v);
    if (!any) return;  // a master without a current row has no details
    for (int i = 0; i < linkCols_.size(); ++i) {
      where << quoted(linkCols_[i]) + QStringLiteral(" = ?");
      int c = col(linkCols_[i]);
      binds << (c >= 0 && c < columnCount() ? ToStored(columns_[c], loadedLink_[i]) : loadedLink_[i]);
    }
  }
  if (filtered_ && !filter_.trimmed().isEmpty()) {
    where << QLatin1Char('(') + filter_ + QLatin1Char(')');
    binds << filterValues_;
  }
  QStringList cols;
  for (const Column& c : columns_) cols << quoted(c.name);
  QString sql = QStringLiteral("SELECT rowid, %1 FROM %2").arg(cols.join(QLatin1Char(',')), quoted(tableName_));
  if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
  QStringList order;
  for (int i : orderCols_) order << quoted(columns_[i].name);
  order << QStringLiteral("rowid");
  sql += QStringLiteral(" ORDER BY ") + order.join(QLatin1Char(','));

  SqlStatement q(database(), sql);
  for (int i = 0; i < binds.size(); ++i) q.bind(i, binds[i]);
  const int n = columnCount();
  while (q.step()) {
    Row r;
    r.rowid = q.intValue(0);
    r.v.resize(n);
    for (int i = 0; i < n; ++i) {
      const Column& c = columns_[i];
      switch (c.type) {
        case ColType::Text: r.v[i] = q.isNull(i + 1) ? QString() : q.textValue(i + 1); break;
        case ColType::Int32:
        case ColType::Int16:
        case ColType::AutoInc:
          if (!q.isNull(i + 1)) r.v[i] = static_cast<int>(q.intValue(i + 1));
          break;
        case ColType::Money:
          if (!q.isNull(i + 1)) r.v[i] = static_cast<qlonglong>(q.intValue(i + 1));
          break;
        default: r.v[i] = FromStored(c, q.value(i + 1));
      }
    }
    rows_.push_back(std::move(r));
  }
}

void DbTable::open() {
  if (isOpen()) return;
  loadColumns();
  Q_EMIT aboutToReset();
  load();
  state_ = Browse;
  cur_ = -1;
  Q_EMIT wasReset();
  setCurrent(rows_.empty() ? -1 : 0, true);
  bof_ = true;
  eof_ = rows_.empty();
  if (onStateChange) onStateChange(*this);
  fire(AfterOpen);
}

void DbTable::close() {
  if (!isOpen()) return;
  Q_EMIT aboutToReset();
  rows_.clear();
  cur_ = -1;
  eof_ = bof_ = true;
  state_ = Inactive;
  insertQuery_.reset();
  updateQuery_.reset();
  Q_EMIT wasReset();
  Q_EMIT currentChanged(-1);
  if (onStateChange) onStateChange(*this);
  fire(AfterClose);
}

void DbTable::refresh() {
  if (!isOpen()) return;
  if (state_ == Edit || state_ == Insert) cancel();
  qint64 keep = cur_ >= 0 ? rows_[cur_].rowid : -1;
  int oldIndex = cur_;
  Q_EMIT aboutToReset();
  load();
  cur_ = -1;
  Q_EMIT wasReset();
  int found = keep >= 0 ? rowOfRowId(keep) : -1;
  if (found < 0) found = rows_.empty() ? -1 : std::clamp(oldIndex, 0, rowCount() - 1);
  setCurrent(found, true);
  eof_ = bof_ = rows_.empty();
}

void DbTable::setFilter(const QString& condition, const QVariantList& values) {
  if (condition == filter_ && values == filterValues_) return;
  filter_ = condition;
  filterValues_ = values;
  if (filtered_) refresh();
}

void DbTable::setFiltered(bool on) {
  if (on == filtered_) return;
  filtered_ = on;
  refresh();
}

void DbTable::clearFilter() {
  bool was = filtered_ && !filter_.isEmpty();
  filter_.clear();
  filterValues_.clear();
  filtered_ = false;
  if (was) refresh();
}

void DbTable::setMaster(DbTable* m, const QStringList& linkColumns, const QStringList& masterColumns) {
  if (master_) disconnect(master_, nullptr, this, nullptr);
  master_ = m;
  if (!linkColumns.isEmpty()) linkCols_ = linkColumns;
  if (!masterColumns.isEmpty()) masterCols_ = masterColumns;
  if (master_) {
    connect(master_, &DbTable::currentChanged, this, [this] { masterMoved(); });
    connect(master_, &DbTable::wasReset, this, [this] { masterMoved(); });
    connect(master_, &DbTable::rowChanged, this, [this] { masterMoved(); });
    connect(master_, &DbTable::stateChanged, this, [this] { masterMoved(); });
  }
  if (isOpen()) refresh();
}

bool DbTable::linkValuesChanged() const { return masterLinkValues() != loadedLink_; }

void DbTable::masterMoved() {
  if (!isOpen() || !linkValuesChanged()) return;
  if (state_ == Edit || state_ == Insert) cancel();
  Q_EMIT aboutToReset();
  load();
  cur_ = -1;
  Q_EMIT wasReset();
  setCurrent(rows_.empty() ? -1 : 0, true);
  bof_ = true;
  eof_ = rows_.empty();
}

void DbTable::setCurrent(int row, bool force) {
  if (row == cur_ && !force) return;
  cur_ = row;
  Q_EMIT currentChanged(cur_);
  if (onDataChange) onDataChange(*this);
  fire(AfterScroll);
}

void DbTable::first() {
  if (state_ == Edit || state_ == Insert) post();
  setCurrent(rows_.empty() ? -1 : 0);
  bof_ = true;
  eof_ = rows_.empty();
}

void DbTable::last() {
  if (state_ == Edit || state_ == Insert) post();
  setCurrent(rowCount() - 1);
  eof_ = true;
  bof_ = rows_.empty();
}

void DbTable::next() {
  if (state_ == Edit || state_ == Insert) post();
  bof_ = false;
  if (cur_ + 1 < rowCount()) {
    setCurrent(cur_ + 1);
    eof_ = false;
  } else {
    eof_ = true;
  }
}

void DbTable::prior() {
  if (state_ == Edit || state_ == Insert) post();
  eof_ = false;
  if (cur_ > 0) {
    setCurrent(cur_ - 1);
    bof_ = false;
  } else {
    bof_ = true;
  }
}

void DbTable::moveTo(int row) {
  if (rows_.empty()) return;
  if (state_ == Edit || state_ == Insert) post();
  setCurrent(std::clamp(row, 0, rowCount() - 1));
  eof_ = bof_ = false;
}

bool DbTable::locate(const QStringList& columns, const QVariantList& values) {
  std::vector<int> idx;
  std::vector<QVariant> want;
  for (int i = 0; i < columns.size(); ++i) {
    int c = col(columns[i]);
    if (c < 0 || c >= columnCount()) return false;
    idx.push_back(c);
    want.push_back(FromStored(columns_[c], ToStored(columns_[c], values.value(i))));
  }
  for (int r = 0; r < rowCount(); ++r) {
    bool match = true;
    for (size_t k = 0; k < idx.size() && match; ++k)
      match = compareValues(columns_[idx[k]], rows_[r].v[idx[k]], want[k]) == 0;
    if (match) {
      moveTo(r);
      return true;
    }
  }
  return false;
}

int DbTable::rowOfRowId(qint64 rowid) const {
  for (int i = 0; i < rowCount(); ++i)
    if (rows_[i].rowid == rowid) return i;
  return -1;
}

const std::vector<QVariant>& DbTable::calcOf(int row) const {
  const Row& r = rows_[row];
  if (r.calcGen != g_writeGeneration || r.calcHandler != handlerStamp_) {
    r.calc.assign(calcNames_.size(), QVariant());
    if (calc_) {
      CalcRow cr{*this, r.v, r.calc};
      calc_(cr);
    }
    r.calcGen = g_writeGeneration;
    r.calcHandler = handlerStamp_;
  }
  return r.calc;
}

QVariant DbTable::valueAt(int row, int index) const {
  if (row < 0 || row >= rowCount() || index < 0) return {};
  if (index < columnCount()) return rows_[row].v[index];
  const std::vector<QVariant>& calc = calcOf(row);
  index -= columnCount();
  return index < static_cast<int>(calc.size()) ? calc[index] : QVariant();
}

QVariant DbTable::valueAt(int row, const QString& name) const { return valueAt(row, col(name)); }

QVariant DbTable::value(int index) const {
  if (index < 0) return {};
  if (state_ == Edit || state_ == Insert) {
    if (index < columnCount()) return buffer_.v[index];
    std::vector<QVariant> calc(calcNames_.size());
    if (calc_) {
      CalcRow cr{*this, buffer_.v, calc};
      calc_(cr);
    }
    index -= columnCount();
    return index < static_cast<int>(calc.size()) ? calc[index] : QVariant();
  }
  return valueAt(cur_, index);
}

QVariant DbTable::value(const QString& name) const { return value(col(name)); }

QString DbTable::displayText(int row, int index) const {
  QVariant v = valueAt(row, index);
  if (auto it = displayFns_.constFind(index); it != displayFns_.cend()) return (*it)(*this, row, v);
  if (index >= columnCount()) return v.toString();
  if (!v.isValid() || v.isNull()) return {};
  const Column& c = columns_[index];
  switch (c.type) {
    case ColType::Money: return FormatWon(v.toLongLong());
    case ColType::Date: {
      QDate d = v.toDate();
      char buf[16];
      int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year(), d.month(), d.day());
      return QString::fromLatin1(buf, n);
    }
    case ColType::DateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case ColType::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default: break;
  }
  if (c.format == DisplayFormat::Count) return FormatCount(v.toLongLong());
  return v.toString();
}

void DbTable::setState(State s) {
  if (s == state_) return;
  state_ = s;
  Q_EMIT stateChanged();
  if (onStateChange) onStateChange(*this);
}

void DbTable::edit() {
  if (state_ == Inactive) throw DbError(DbError::Engine, tableName_ + QStringLiteral(": 테이블이 열려있지 않습니다."));
  if (state_ == Edit || state_ == Insert) return;
  if (cur_ < 0) {
    append();
    return;
  }
  buffer_ = rows_[cur_];
  setState(Edit);
  fire(AfterEdit);
}

void DbTable::append() {
  if (state_ == Inactive) throw DbError(DbError::Engine, tableName_ + QStringLiteral(": 테이블이 열려있지 않습니다."));
  if (state_ == Edit || state_ == Insert) post();
  buffer_ = Row{};
  buffer_.v.resize(columnCount());
  for (int i = 0; i < columnCount(); ++i)
    if (columns_[i].type == ColType::Text) buffer_.v[i] = QString();
  if (master_) {
    QVariantList link = masterLinkValues();
    for (int i = 0; i < linkCols_.size(); ++i)
      if (int c = col(linkCols_[i]); c >= 0 && c < columnCount()) buffer_.v[c] = link.value(i);
  }
  setState(Insert);
  fire(AfterInsert);
}

void DbTable::setValue(int index, const QVariant& v) {
  if (state_ != Edit && state_ != Insert)
    throw DbError(DbError::Engine, tableName_ + QStringLiteral(": 편집 상태가 아닙니다."));
  if (index < 0 || index >= columnCount())
    throw DbError(DbError::BadValue, tableName_ + QStringLiteral(": 필드가 없습니다: ") + fieldName(index));
  const Column& c = columns_[index];
  const int type = v.typeId();
  if (c.type == ColType::Text && type == QMetaType::QString) {
    // The common case without conversions: a text that fits as it is.
    const QString& t = *static_cast<const QString*>(v.constData());
    bool plain = t.size() <= c.size && (t.isEmpty() || t.back() != QLatin1Char(' '));
    for (qsizetype i = 0; plain && i < t.size(); ++i) plain = t[i].unicode() < 0x80;
    if (plain || c.size <= 0) {
      buffer_.v[index] = v;
      if (onDataChange) onDataChange(*this);
      return;
    }
  }
  if ((c.type == ColType::Date && type == QMetaType::QDate && v.toDate().isValid()) ||
      (c.type == ColType::Money && type == QMetaType::LongLong) ||
      (c.type == ColType::Int32 && type == QMetaType::Int))
    buffer_.v[index] = v;  // already in the program's form and in range
  else
    buffer_.v[index] = FromStored(c, ToStored(c, v));
  if (onDataChange) onDataChange(*this);
}

void DbTable::setValue(const QString& name, const QVariant& v) {
  int i = col(name);
  if (i < 0 || i >= columnCount())
    throw DbError(DbError::BadValue, tableName_ + QStringLiteral(": 필드가 없습니다: ") + name);
  setValue(i, v);
}

void DbTable::checkRequired(const Row& r) const {
  for (int i = 0; i < columnCount(); ++i)
    if (columns_[i].required && columns_[i].type != ColType::AutoInc && isBlank(r.v[i]))
      throw DbError(DbError::RequiredMissing, tableName_ + QStringLiteral(".") + columns_[i].name);
}

void DbTable::throwSql(const QSqlQuery& q, const QString& what) const { throwSqlError(q.lastError(), what); }

void DbTable::throwSqlError(const QSqlError& error, const QString& what) const {
  QString text = error.text();
  QString lower = text.toLower();
  DbError::Kind kind = DbError::Engine;
  if (lower.contains(QLatin1String("unique constraint")) || lower.contains(QLatin1String("primary key")))
    kind = DbError::KeyViolation;
  else if (lower.contains(QLatin1String("not null constraint")))
    kind = DbError::RequiredMissing;
  throw DbError(kind, what + QStringLiteral(": ") + text);
}

int DbTable::compareOrder(const Row& a, const Row& b) const {
  for (int i : orderCols_)
    if (int c = compareValues(columns_[i], a.v[i], b.v[i]); c != 0) return c;
  return a.rowid < b.rowid ? -1 : (a.rowid > b.rowid ? 1 : 0);
}

int DbTable::insertPosition(const Row& r) const {
  // Lines are mostly added in key order: the end is the place.
  if (rows_.empty() || compareOrder(rows_.back(), r) <= 0) return rowCount();
  auto it = std::upper_bound(rows_.begin(), rows_.end(), r,
                             [this](const Row& x, const Row& y) { return compareOrder(x, y) < 0; });
  return static_cast<int>(it - rows_.begin());
}

void DbTable::post() {
  if (state_ != Edit && state_ != Insert) return;
  if (onUpdateData) onUpdateData(*this);
  checkRequired(buffer_);
  QSqlDatabase db = database();
  const int n = columnCount();
  if (state_ == Insert) {
    if (!insertQuery_ || !insertQuery_->validFor(db)) {
      QStringList names, marks;
      for (const Column& c : columns_) {
        names << quoted(c.name);
        marks << QStringLiteral("?");
      }
      insertQuery_.reset();
      insertQuery_ = std::make_unique<SqlStatement>(
          db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(tableName_), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    }
    SqlStatement& q = *insertQuery_;
    bindRow(q, columns_, buffer_.v, scratch_);
    try {
      q.step();
    } catch (const DbError& e) {
      q.reset();
      throw DbError(e.kind(), tableName_ + QStringLiteral(": ") + e.text());
    }
    buffer_.rowid = q.lastInsertRowId();
    q.reset(false);
    if (autoIncCol_ >= 0 && isBlank(buffer_.v[autoIncCol_])) buffer_.v[autoIncCol_] = static_cast<int>(buffer_.rowid);
    noteWrite();
    int pos = insertPosition(buffer_);
    Row posted = std::move(buffer_);
    buffer_ = Row{};
    state_ = Browse;  // before any signal: listeners read the rows, not the buffer
    Q_EMIT rowAboutToBeInserted(pos);
    rows_.insert(rows_.begin() + pos, std::move(posted));
    cur_ = pos;
    Q_EMIT rowInserted(pos);
    Q_EMIT stateChanged();
    if (onStateChange) onStateChange(*this);
    setCurrent(pos, true);
    eof_ = bof_ = false;
  } else {
    if (!updateQuery_ || !updateQuery_->validFor(db)) {
      QStringList sets;
      for (const Column& c : columns_) sets << quoted(c.name) + QStringLiteral(" = ?");
      updateQuery_.reset();
      updateQuery_ = std::make_unique<SqlStatement>(
          db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoted(tableName_), sets.join(QLatin1Char(','))));
    }
    SqlStatement& q = *updateQuery_;
    bindRow(q, columns_, buffer_.v, scratch_);
    q.bindInt(n, buffer_.rowid);
    try {
      q.step();
    } catch (const DbError& e) {
      q.reset(false);
      throw DbError(e.kind(), tableName_ + QStringLiteral(": ") + e.text());
    }
    q.reset();
    noteWrite();
    bool moved = compareOrder(rows_[cur_], buffer_) != 0 && !orderCols_.empty();
    Row posted = std::move(buffer_);
    buffer_ = Row{};
    state_ = Browse;
    if (moved) {
      int old = cur_;
      Q_EMIT rowAboutToBeRemoved(old);
      rows_.erase(rows_.begin() + old);
      Q_EMIT rowRemoved(old);
      int pos = insertPosition(posted);
      Q_EMIT rowAboutToBeInserted(pos);
      rows_.insert(rows_.begin() + pos, std::move(posted));
      Q_EMIT rowInserted(pos);
      cur_ = pos;
    } else {
      rows_[cur_] = std::move(posted);
      Q_EMIT rowChanged(cur_);
    }
    Q_EMIT stateChanged();
    if (onStateChange) onStateChange(*this);
    setCurrent(cur_, true);
  }
  fire(AfterPost);
}

void DbTable::cancel() {
  if (state_ != Edit && state_ != Insert) return;
  buffer_ = Row{};
  setState(Browse);
  if (onDataChange) onDataChange(*this);
  fire(AfterCancel);
}

void DbTable::remove() {
  if (state_ == Insert) {
    cancel();
    return;
  }
  if (state_ == Edit) cancel();
  if (cur_ < 0) return;
  SqlStatement q(database(), QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(tableName_)));
  q.bindInt(0, rows_[cur_].rowid);
  q.step();
  noteWrite();
  int old = cur_;
  Q_EMIT rowAboutToBeRemoved(old);
  rows_.erase(rows_.begin() + old);
  Q_EMIT rowRemoved(old);
  setCurrent(rows_.empty() ? -1 : std::min(old, rowCount() - 1), true);
  eof_ = bof_ = rows_.empty();
  fire(AfterDelete);
}

void DbTable::removeRows(std::vector<int> list) {
  if (state_ == Edit || state_ == Insert) cancel();
  std::sort(list.begin(), list.end(), std::greater<int>());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  list.erase(std::remove_if(list.begin(), list.end(), [this](int r) { return r < 0 || r >= rowCount(); }),
             list.end());
  if (list.empty()) return;
  {
    DbTransaction tx(database());
    SqlStatement q(database(), QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(tableName_)));
    for (int r : list) {
      q.bindInt(0, rows_[r].rowid);
      q.step();
      q.reset();
    }
    tx.commit();
  }
  noteWrite();
  int keep = cur_;
  for (int r : list) {
    Q_EMIT rowAboutToBeRemoved(r);
    rows_.erase(rows_.begin() + r);
    Q_EMIT rowRemoved(r);
    if (r < keep) --keep;
  }
  setCurrent(rows_.empty() ? -1 : std::clamp(keep, 0, rowCount() - 1), true);
  eof_ = bof_ = rows_.empty();
  fire(AfterDelete);
}

void DbTable::setCalcFields(const QStringList& names, CalcHandler handler) {
  calcNames_ = names;
  calc_ = std::move(handler);
  ++handlerStamp_;
  if (isOpen()) {
    for (auto it = index_.begin(); it != index_.end();)
      it = it.value() >= columnCount() ? index_.erase(it) : std::next(it);
    for (int k = 0; k < calcNames_.size(); ++k)
      if (!index_.contains(calcNames_[k].toLower())) index_.insert(calcNames_[k].toLower(), columnCount() + k);
    rebuildExact();
    resolveDisplayFunctions();
    Q_EMIT aboutToReset();
    Q_EMIT wasReset();
  }
}

void DbTable::rebuildExact() {
  exact_.clear();
  for (int i = 0; i < columnCount(); ++i) exact_.insert(columns_[i].name, i);
  for (int k = 0; k < calcNames_.size(); ++k)
    if (!exact_.contains(calcNames_[k])) exact_.insert(calcNames_[k], index_.value(calcNames_[k].toLower()));
}

void DbTable::setCalcHandler(CalcHandler handler) {
  calc_ = std::move(handler);
  ++handlerStamp_;
}

void DbTable::setDisplayFunction(const QString& column, DisplayFunction f) {
  // Kept by name: the column indexes are known only once the table opens.
  displayByName_.insert(column.toLower(), std::move(f));
  resolveDisplayFunctions();
}

void DbTable::resolveDisplayFunctions() {
  displayFns_.clear();
  for (auto it = displayByName_.cbegin(); it != displayByName_.cend(); ++it)
    if (int i = col(it.key()); i >= 0) displayFns_.insert(i, it.value());
}

void DbTable::invalidateDisplayFields() { ++handlerStamp_; }

void DbTable::clearDataSourceHooks() {
  onStateChange = nullptr;
  onDataChange = nullptr;
  onUpdateData = nullptr;
}

void DbTable::noteWrite() {
  ++g_writeGeneration;
  ++tableGenerations()[lowerName_];
}

void DbTable::fire(Event e) {
  if (eventHook) eventHook(*this, e);
}

DbTransaction::DbTransaction(QSqlDatabase db) : db_(std::move(db)) {
  int& depth = transactionDepth()[db_.connectionName()];
  if (depth == 0) {
    if (!db_.transaction()) throw DbError(DbError::Engine, db_.lastError().text());
    open_ = true;
  }
  ++depth;
}

DbTransaction::~DbTransaction() {
  int& depth = transactionDepth()[db_.connectionName()];
  --depth;
  if (open_) db_.rollback();
}

void DbTransaction::commit() {
  if (!open_) return;
  if (!db_.commit()) {
    QString err = db_.lastError().text();
    db_.rollback();
    open_ = false;
    throw DbError(DbError::Engine, err);
  }
  open_ = false;
}

QString FormatCount(qint64 n) {
  QString digits = QString::number(n < 0 ? -n : n);
  QString out;
  out.reserve(digits.size() + digits.size() / 3 + 1);
  if (n < 0) out += QLatin1Char('-');
  int lead = static_cast<int>(digits.size()) % 3;
  for (int i = 0; i < digits.size(); ++i) {
    if (i > 0 && (i - lead) % 3 == 0) out += QLatin1Char(',');
    out += digits.at(i);
  }
  return out;
}

QString FormatWon(qint64 amount) {
  QString grouped = FormatCount(amount < 0 ? -amount : amount);
  return (amount < 0 ? QStringLiteral("-\u20A9") : QStringLiteral("\u20A9")) + grouped;
}

}  // namespace orvan
