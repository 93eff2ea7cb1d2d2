#pragma once
// Fixed-width records described as data. A send writer and the reader of the
// bank's answer share one description of a record, so the positions cannot
// drift apart; every description is checked to tile its record exactly.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariantHash>
#include <initializer_list>
#include <optional>
#include <vector>

namespace orvan {

enum class Notation {
  A,        // text, left-aligned, blanks on the right; cut at a whole CP949 character
  AR,       // text, right-aligned, blanks on the left; cut at a whole CP949 character
  N,        // digits right-aligned, zeros on the left; a longer value keeps its first bytes
  NL,       // digits left-aligned, zeros on the right; a longer value keeps its first bytes
  Number,   // a whole number as N(n) that must fit: too long, negative or not a number is refused
  Literal,  // the field's key is the text itself, written as A(n)
  Blanks,   // n blanks
  Zeros,    // n zeros
  Date8,    // YYYYMMDD (zeros for no date)
  Date6,    // YYMMDD (zeros for no date)
};

struct LayoutField {
  int pos = 0;  // 1-based byte position
  int len = 0;
  Notation notation = Notation::A;
  const char* key = "";    // value key; the text itself for Literal; unused for Blanks/Zeros
  const char* label = "";  // Korean name used when a value is refused
};

struct RecordLayout {
  RecordLayout() = default;
  RecordLayout(const char* name, int length, std::initializer_list<LayoutField> fields);

  // This layout with the given fields put in place of whatever they overlap;
  // mirrors "as that form, except that ...".
  RecordLayout derive(const char* name, std::initializer_list<LayoutField> replacements) const;
  const LayoutField* find(const char* key) const;

  const char* name = "";
  int length = 0;
  std::vector<LayoutField> fields;  // in position order
};

// Empty when the fields cover positions 1..length exactly once each;
// otherwise the first fault found, for the test that checks every layout.
QString CheckTiling(const RecordLayout& layout);

struct FormatFault {
  enum Kind { Missing, TooLong, Negative, NotNumber };
  Kind kind = Missing;
  QString key;
  QString label;  // the field's label, or its key when it has none
  QString value;  // the refused value as text
  int length = 0;
};

// The number in a database or record value: null and blank text read 0,
// money held as a floating value rounds to whole won. Empty when not a number.
std::optional<qint64> NumberOf(const QVariant& value);
// CP949 bytes of a value: QByteArray as it is, anything else through its text.
QByteArray BytesOf(const QVariant& value);
// A date held as QDate, QDateTime or 'YYYY-MM-DD' / 'YYYYMMDD' text; invalid otherwise.
QDate DateOf(const QVariant& value);

// Appends exactly layout.length bytes (no CR LF). A value missing from
// `values` or refused by a Number field leaves `out` unchanged and
// describes the fault.
bool FormatRecord(const RecordLayout& layout, const QVariantHash& values, QByteArray& out,
                  FormatFault* fault = nullptr);

// A record read back by its description, for the readers of the banks'
// answers. Bytes past the end of a short record read as empty. Holds the
// layout by reference: layouts are static descriptions that outlive it.
class ParsedRecord {
 public:
  ParsedRecord(const RecordLayout& layout, const QByteArray& record);

  bool has(const char* key) const;
  QByteArray bytes(const char* key) const;  // the field's bytes as they stand
  QString text(const char* key) const;      // decoded, as it stands
  QString trimmed(const char* key) const;
  std::optional<qint64> number(const char* key) const;  // digits only, blanks around allowed
  QDate date(const char* key) const;                    // Date8 / Date6 by the field's notation, else 8 digits
  // Every Literal field holds its text and the record is long enough.
  bool literalsMatch() const;

 private:
  const RecordLayout& layout_;
  QByteArray record_;
};

}  // namespace orvan
