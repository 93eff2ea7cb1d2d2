#include "app/codes.h"

#include "app/fixedwidth.h"
#include "platform/clock.h"
#include "platform/cp949.h"

#include <QFile>

#include <algorithm>

namespace orvan {

bool ContainsSorted(const QStringList& sorted, const QString& value) {
  return std::binary_search(sorted.cbegin(), sorted.cend(), value);
}

bool FindCorCode(QString& code, const QStringList& sortedCorCodes) {
  QString c = code;
  for (;;) {
    if (ContainsSorted(sortedCorCodes, c)) {
      code = c;
      return true;
    }
    if (cp949::byteLength(c) > 10) return false;
    c.prepend(QLatin1Char('0'));
  }
}

bool ImportFieldValidator::validate(bool skip, int kind, const QString& text, QString& out) {
  out = text.trimmed();
  if (skip) return true;
  const QByteArray b = cp949::encode(out);
  const int len = static_cast<int>(b.size());
  switch (kind) {
    case Name:
      return len >= 1 && len <= 50;
    case InstitutionCode:
      return len >= 1 && len <= 10 && FindCorCode(out, corCodes_);
    case BankCode: {
      if (len < 1 || len > 2) return false;
      currentBank_ = out;
      QString code = len == 1 ? QLatin1Char('0') + out : out;
      if (!IsDigits(code.toLatin1()) || code.toInt() <= 0 || !ContainsSorted(bankIds_, code)) return false;
      currentBank_ = code;
      out = code;
      return true;
    }
    case AccountNo: {
      if (len < 1 || len > 16) return false;
      QByteArray digits = StripChar(StripChar(b, '-'), ' ');
      if (!IsDigits(digits)) return false;
      out = QString::fromLatin1(digits);
      return true;
    }
    case PayerNo: {
      if (len < 1 || len > 20 || HasDoubleByte(b)) return false;
      bool ok = false;
      int bank = currentBank_.toInt(&ok);
      if (ok && bank >= 10 && bank <= 15 && len > 13) return false;
      if (currentBank_ == QLatin1String("04") && len > 15) return false;
      return true;
    }
    case RealNameNo: {
      if (out.isEmpty()) return true;
      QByteArray noHyphen = StripChar(b, '-');
      if (noHyphen.size() > 13) return false;
      QByteArray digits = StripChar(noHyphen, ' ');
      if (!IsDigits(digits)) return false;
      out = QString::fromLatin1(digits);
      return true;
    }
    case ApplicationDate: {
      QByteArray d = StripChar(b, '-');
      if (d.isEmpty()) d = Today().toString(QStringLiteral("yyyyMMdd")).toLatin1();
      if (d.size() != 8 || !IsDigits(d)) return false;
      QDate date = QDate::fromString(QString::fromLatin1(d), QStringLiteral("yyyyMMdd"));
      if (!date.isValid()) return false;
      out = date.toString(QStringLiteral("yyyy-MM-dd"));
      return true;
    }
    case WithdrawalDay: {
      if (len > 2) return false;
      QByteArray digits = DigitsOnly(b);
      if (digits.toInt() >= 32) return false;
      out = QString::fromLatin1(digits);
      return true;
    }
    case BranchCode:
      return len <= 3;
    case RealNameCheck: {
      QString u = out.toUpper();
      if (!u.isEmpty() && u != QLatin1String("Y") && u != QLatin1String("N")) return false;
      out = u;
      return true;
    }
    default:
      return false;
  }
}

bool LoadFixedWidthIntoGrid(int mode, const QString& path, const StringGrid& layout, StringGrid& target) {
  struct Field {
    int start, length;
  };
  QList<Field> fields;
  QStringList header;
  for (int r = 1; r < layout.rowCount(); ++r) {
    QString start = layout.cell(r, 1).trimmed();
    int length = layout.cell(r, 2).trimmed().toInt();
    if (mode == 2 && (start.isEmpty() || length == 0)) continue;
    header << layout.cell(r, 0);
    fields << Field{start.toInt(), length};
  }
  target.rows.clear();
  target.rows << header;

  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return true;
  QList<QByteArray> lines;
  for (QByteArray line : f.readAll().split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    lines << line;
  }
  int first = 0;
  for (int i = 0; i < lines.size() && i < 10; ++i) {
    const QByteArray& l = lines[i];
    if (l.left(4).trimmed() == cp949::encode(QStringLiteral("이름")) ||
        l.left(2).trimmed() == cp949::encode(QStringLiteral("동")) ||
        l.left(2).trimmed() == cp949::encode(QStringLiteral("은"))) {
      first = i + 1;
      break;
    }
  }
  for (int i = first; i < lines.size(); ++i) {
    QByteArray line = lines[i].left(255);
    if (line.trimmed().isEmpty()) continue;
    QStringList row;
    for (const Field& fd : fields) {
      QByteArray part = fd.start > 0 ? line.mid(fd.start - 1, fd.length) : QByteArray();
      row << cp949::decode(part).trimmed();
    }
    target.rows << row;
  }
  return true;
}

}  // namespace orvan
