#include "app/fixedwidth.h"

#include "platform/cp949.h"

namespace orvan {
namespace {

inline bool isHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

void appendPadded(QByteArray& out, const QByteArray& text, int n, bool leftAlign, char fill) {
  if (n <= 0) return;
  const int len = static_cast<int>(text.size());
  if (len >= n) {
    out.append(text.constData(), n);
    return;
  }
  if (leftAlign) {
    out.append(text);
    out.append(n - len, fill);
  } else {
    out.append(n - len, fill);
    out.append(text);
  }
}

// The 33 punctuation marks in their full-width CP949 forms (row 1 of KS X 1001
// holds "￦" for the backslash); letters, digits and the blank come from row 3.
QByteArray fullWidthPunct(char c) {
  switch (c) {
    case ' ': return QByteArray("\xA1\xA1");
    case '\\': return QByteArray("\xA3\xDC");  // ￦
    default: break;
  }
  auto u = static_cast<unsigned char>(c);
  if (u >= 0x21 && u <= 0x7E) {
    QByteArray b(2, '\0');
    b[0] = static_cast<char>(0xA3);
    b[1] = static_cast<char>(u + 0x80);
    return b;
  }
  return {};
}

}  // namespace

QByteArray PadText(const QByteArray& text, int n, bool leftAlign) {
  QByteArray out;
  out.reserve(n > 0 ? n : 0);
  appendPadded(out, text, n, leftAlign, ' ');
  return out;
}

QByteArray PadZero(const QByteArray& text, int n, bool leftAlign) {
  QByteArray out;
  out.reserve(n > 0 ? n : 0);
  appendPadded(out, text, n, leftAlign, '0');
  return out;
}

void AppendPadText(QByteArray& out, const QByteArray& text, int n, bool leftAlign) {
  appendPadded(out, text, n, leftAlign, ' ');
}

void AppendPadZero(QByteArray& out, const QByteArray& text, int n, bool leftAlign) {
  appendPadded(out, text, n, leftAlign, '0');
}

void AppendFitText(QByteArray& out, const QByteArray& text, int n, bool leftAlign) {
  if (n <= 0) return;
  if (text.size() <= n) {
    appendPadded(out, text, n, leftAlign, ' ');
    return;
  }
  int keep = cp949::wholeCharPrefix(text, n);
  out.append(text.constData(), keep);
  out.append(n - keep, ' ');
}

QByteArray FitText(const QByteArray& text, int n, bool leftAlign) {
  QByteArray out;
  out.reserve(n > 0 ? n : 0);
  AppendFitText(out, text, n, leftAlign);
  return out;
}

QByteArray StripChar(const QByteArray& text, char c) {
  QByteArray out = text;
  out.replace(QByteArray(1, c), QByteArray());
  return out;
}

QByteArray StripShiftCodes(const QByteArray& text) { return StripChar(StripChar(text, 14), 15); }

QByteArray DigitsOnly(const QByteArray& text) {
  QByteArray out;
  for (char c : text)
    if (c >= '0' && c <= '9') out.append(c);
  return out;
}

bool IsDigits(const QByteArray& text) {
  if (text.isEmpty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

bool IsAlnum(const QByteArray& text) {
  if (text.isEmpty()) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  return true;
}

bool HasDoubleByte(const QByteArray& text) {
  for (char c : text)
    if (cp949::isLeadByte(static_cast<unsigned char>(c))) return true;
  return false;
}

int DigitSum(const QByteArray& text) {
  int sum = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') sum += c - '0';
  return sum;
}

QByteArray FormatBizNo(const QByteArray& text) {
  QByteArray t = StripChar(text.trimmed(), '-');
  if (t.size() == 10) return t.left(3) + '-' + t.mid(3, 2) + '-' + t.mid(5);
  if (t.size() == 13) return t.left(6) + '-' + t.mid(6);
  return t;
}

QByteArray CutSplitDoubleByte(const QByteArray& text) {
  if (text.isEmpty() || !isHigh(text.back())) return text;
  const int whole = cp949::wholeCharPrefix(text, static_cast<int>(text.size()));
  if (whole == text.size()) return text;
  QByteArray out = text;
  out[out.size() - 1] = ' ';
  return out;
}

QByteArray FullWidthOf(char c) { return fullWidthPunct(c); }

namespace {
QByteArray convertSingles(const QByteArray& part) {
  QByteArray out;
  out.reserve(part.size() * 2);
  for (char c : part) {
    QByteArray fw = fullWidthPunct(c);
    if (fw.isEmpty())
      out.append(c);
    else
      out.append(fw);
  }
  return out;
}
}  // namespace

QByteArray ToShiftedDoubleByte(const QByteArray& input) {
  const QByteArray text = CutSplitDoubleByte(input);
  qsizetype first = -1, last = -1;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (isHigh(text[i])) {
      if (first < 0) first = i;
      last = i;
    }
  }
  QByteArray out;
  out.append('\x0E');
  if (first < 0) {
    out.append(convertSingles(text));
  } else {
    out.append(convertSingles(text.left(first)));
    out.append(text.mid(first, last - first + 1));
    out.append(convertSingles(text.mid(last + 1)));
  }
  out.append('\x0F');
  return out;
}

QByteArray ToFullWidth(const QByteArray& text) {
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (cp949::isLeadByte(c) && i + 1 < text.size()) {
      out.append(text.constData() + i, 2);
      ++i;
    } else {
      out.append(static_cast<char>(0xA3));
      out.append(static_cast<char>(c + 128));
    }
  }
  qsizetype keep = text.size() - (text.size() % 2);
  out.truncate(keep);
  return out;
}

QString Text(const QByteArray& b) { return cp949::decode(b); }

bool IsBank202224(const QString& b) {
  return b == QLatin1String("20") || b == QLatin1String("22") || b == QLatin1String("24");
}
bool IsBank21(const QString& b) { return b == QLatin1String("21"); }
bool IsBank26(const QString& b) { return b == QLatin1String("26"); }
bool IsBank04(const QString& b) { return b == QLatin1String("04"); }
bool IsBank81(const QString& b) { return b == QLatin1String("81"); }
bool IsBank07(const QString& b) { return b == QLatin1String("07"); }
bool IsBank25(const QString& b) { return b == QLatin1String("25"); }
bool IsBank27(const QString& b) { return b == QLatin1String("27"); }
bool IsNacf(const QString& b) { return b == QLatin1String("11") || b == QLatin1String("12"); }
bool IsBank05(const QString& b) { return b == QLatin1String("05"); }
bool IsBank03(const QString& b) { return b == QLatin1String("03"); }
bool IsBank06(const QString& b) { return b == QLatin1String("06"); }
bool IsBank45(const QString& b) { return b == QLatin1String("45"); }

}  // namespace orvan
