#include "send/recordlayout.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

#include "app/conversions.h"
#include "app/fixedwidth.h"
#include "platform/cp949.h"

namespace orvan {
namespace {

void sortFields(std::vector<LayoutField>& fields) {
  std::stable_sort(fields.begin(), fields.end(),
                   [](const LayoutField& a, const LayoutField& b) { return a.pos < b.pos; });
}

QString keyOf(const LayoutField& f) { return QString::fromUtf8(f.key); }

QString labelOf(const LayoutField& f) { return QString::fromUtf8(*f.label ? f.label : f.key); }

QByteArray dateText(const QVariant& value, bool eightDigits) {
  const QDate d = DateOf(value);
  if (!d.isValid()) return QByteArray(eightDigits ? 8 : 6, '0');
  return d.toString(eightDigits ? QStringLiteral("yyyyMMdd") : QStringLiteral("yyMMdd")).toLatin1();
}

bool hasValue(const LayoutField& f) {
  switch (f.notation) {
    case Notation::Literal:
    case Notation::Blanks:
    case Notation::Zeros:
      return false;
    default:
      return true;
  }
}

}  // namespace

RecordLayout::RecordLayout(const char* n, int len, std::initializer_list<LayoutField> f)
    : name(n), length(len), fields(f) {
  sortFields(fields);
}

RecordLayout RecordLayout::derive(const char* n, std::initializer_list<LayoutField> replacements) const {
  RecordLayout out = *this;
  out.name = n;
  for (const LayoutField& r : replacements) {
    const int rEnd = r.pos + r.len;
    out.fields.erase(std::remove_if(out.fields.begin(), out.fields.end(),
                                    [&](const LayoutField& f) { return f.pos < rEnd && r.pos < f.pos + f.len; }),
                     out.fields.end());
    out.fields.push_back(r);
  }
  sortFields(out.fields);
  return out;
}

const LayoutField* RecordLayout::find(const char* key) const {
  for (const LayoutField& f : fields)
    if (hasValue(f) && qstrcmp(f.key, key) == 0) return &f;
  return nullptr;
}

QString CheckTiling(const RecordLayout& layout) {
  const QString name = QString::fromUtf8(layout.name);
  if (layout.length <= 0) return name + QStringLiteral(": no record length");
  int next = 1;
  for (const LayoutField& f : layout.fields) {
    const QString where = QStringLiteral("%1: field at %2 (%3)").arg(name).arg(f.pos).arg(keyOf(f));
    if (f.len <= 0) return where + QStringLiteral(" has no length");
    if (f.pos > next) return where + QStringLiteral(" leaves a gap from %1").arg(next);
    if (f.pos < next) return where + QStringLiteral(" overlaps the field before it");
    if (f.notation == Notation::Literal && static_cast<int>(qstrlen(f.key)) > f.len)
      return where + QStringLiteral(" holds a text longer than the field");
    if ((f.notation == Notation::Date8 && f.len != 8) || (f.notation == Notation::Date6 && f.len != 6))
      return where + QStringLiteral(" has a date of the wrong length");
    next = f.pos + f.len;
  }
  if (next != layout.length + 1)
    return QStringLiteral("%1: fields end at %2, record length is %3").arg(name).arg(next - 1).arg(layout.length);
  return {};
}

std::optional<qint64> NumberOf(const QVariant& value) {
  if (value.isNull()) return qint64(0);
  switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
      const double d = value.toDouble();
      if (!std::isfinite(d)) return std::nullopt;
      return qint64(std::llround(d));
    }
    case QMetaType::Bool:
      return std::nullopt;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
      const QByteArray t = BytesOf(value).trimmed();
      if (t.isEmpty()) return qint64(0);
      bool ok = false;
      const qint64 n = t.toLongLong(&ok);
      if (ok) return n;
      // Money read back as text may carry the engine's decimals ("1500.00").
      const double d = t.toDouble(&ok);
      if (!ok || !std::isfinite(d)) return std::nullopt;
      return qint64(std::llround(d));
    }
    default: {
      bool ok = false;
      const qint64 n = value.toLongLong(&ok);
      if (!ok) return std::nullopt;
      return n;
    }
  }
}

QByteArray BytesOf(const QVariant& value) {
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray();
  if (value.isNull()) return {};
  return cp949::encode(value.toString());
}

QDate DateOf(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::QDate:
      return value.toDate();
    case QMetaType::QDateTime:
      return value.toDateTime().date();
    default:
      break;
  }
  const QString t = value.toString().trimmed();
  if (t.size() >= 10 && t[4] == QLatin1Char('-')) return QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
  if (t.size() == 8) return QDate::fromString(t, QStringLiteral("yyyyMMdd"));
  return {};
}

bool FormatRecord(const RecordLayout& layout, const QVariantHash& values, QByteArray& out, FormatFault* fault) {
  QByteArray rec;
  rec.reserve(layout.length);
  auto refuse = [&](FormatFault::Kind kind, const LayoutField& f, const QString& value) {
    if (fault) *fault = FormatFault{kind, keyOf(f), labelOf(f), value, f.len};
    return false;
  };
  for (const LayoutField& f : layout.fields) {
    // Positions come from the description; a layout that fails its tiling
    // check must not silently shift the fields after a fault.
    if (rec.size() < f.pos - 1) rec.append(f.pos - 1 - rec.size(), ' ');
    rec.truncate(f.pos - 1);
    QVariant v;
    if (hasValue(f)) {
      auto it = values.constFind(keyOf(f));
      if (it == values.constEnd()) return refuse(FormatFault::Missing, f, QString());
      v = it.value();
    }
    switch (f.notation) {
      case Notation::A:
        AppendFitText(rec, BytesOf(v), f.len, true);
        break;
      case Notation::AR:
        AppendFitText(rec, BytesOf(v), f.len, false);
        break;
      case Notation::N:
        AppendPadZero(rec, BytesOf(v), f.len, false);
        break;
      case Notation::NL:
        AppendPadZero(rec, BytesOf(v), f.len, true);
        break;
      case Notation::Number: {
        const std::optional<qint64> n = NumberOf(v);
        if (!n) return refuse(FormatFault::NotNumber, f, v.toString());
        if (*n < 0) return refuse(FormatFault::Negative, f, QString::number(*n));
        const QByteArray digits = QByteArray::number(*n);
        if (digits.size() > f.len) return refuse(FormatFault::TooLong, f, QString::fromLatin1(digits));
        AppendPadZero(rec, digits, f.len, false);
        break;
      }
      case Notation::Literal:
        AppendFitText(rec, QByteArray(f.key), f.len, true);
        break;
      case Notation::Blanks:
        rec.append(f.len, ' ');
        break;
      case Notation::Zeros:
        rec.append(f.len, '0');
        break;
      case Notation::Date8:
      case Notation::Date6:
        AppendPadZero(rec, dateText(v, f.notation == Notation::Date8), f.len, false);
        break;
    }
  }
  if (rec.size() < layout.length) rec.append(layout.length - rec.size(), ' ');
  rec.truncate(layout.length);
  out.append(rec);
  return true;
}

ParsedRecord::ParsedRecord(const RecordLayout& layout, const QByteArray& record) : layout_(layout), record_(record) {}

bool ParsedRecord::has(const char* key) const { return layout_.find(key) != nullptr; }

QByteArray ParsedRecord::bytes(const char* key) const {
  const LayoutField* f = layout_.find(key);
  if (!f || f->pos - 1 >= record_.size()) return {};
  return record_.mid(f->pos - 1, f->len);
}

QString ParsedRecord::text(const char* key) const { return cp949::decode(bytes(key)); }

QString ParsedRecord::trimmed(const char* key) const { return text(key).trimmed(); }

std::optional<qint64> ParsedRecord::number(const char* key) const {
  const QByteArray t = bytes(key).trimmed();
  if (!IsDigits(t)) return std::nullopt;
  bool ok = false;
  const qint64 n = t.toLongLong(&ok);
  if (!ok) return std::nullopt;
  return n;
}

QDate ParsedRecord::date(const char* key) const {
  const LayoutField* f = layout_.find(key);
  return ParseFileDate(bytes(key), !f || f->notation != Notation::Date6);
}

bool ParsedRecord::literalsMatch() const {
  if (record_.size() < layout_.length) return false;
  for (const LayoutField& f : layout_.fields) {
    if (f.notation != Notation::Literal) continue;
    if (record_.mid(f.pos - 1, f.len) != FitText(QByteArray(f.key), f.len, true)) return false;
  }
  return true;
}

}  // namespace orvan
