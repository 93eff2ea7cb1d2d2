#include "app/conversions.h"

#include "app/fixedwidth.h"
#include "platform/clock.h"

#include <cmath>

namespace orvan {

qint64 TextToInt(const QByteArray& text) {
  QByteArray t = text;
  while (!t.isEmpty() && static_cast<unsigned char>(t.back()) <= ' ') t.chop(1);
  bool ok = false;
  qint64 v = t.toLongLong(&ok);
  return ok ? v : 0;
}

qint64 TextToInt(const QString& text) { return TextToInt(text.toUtf8()); }

qint64 TextToAmount(const QString& text) {
  QString t = text.trimmed();
  if (t.isEmpty()) return 0;
  t.remove(QLatin1Char(','));
  bool ok = false;
  // Whole numbers stay exact beyond what a double holds.
  qint64 whole = t.toLongLong(&ok);
  if (ok) return whole;
  double d = t.toDouble(&ok);
  if (!ok || !std::isfinite(d) || std::fabs(d) > 9.0e18) return 0;
  return static_cast<qint64>(std::llround(d));
}

QDate ParseFileDate(const QByteArray& text, bool eightDigits) {
  const QDate fallback(1990, 1, 1);
  if (text.isEmpty() || !IsDigits(text) || text.toLongLong() <= 0) return fallback;
  QDate d;
  if (eightDigits) {
    int year = text.left(4).toInt();
    if (text.left(4) == "0000") year = 2000;
    d = QDate(year, text.mid(4, 2).toInt(), text.mid(6, 2).toInt());
  } else {
    QByteArray t = text;
    if (t.size() == 4) t.prepend(QByteArray::number(Today().year() % 100).rightJustified(2, '0'));
    int yy = t.left(2).toInt();
    int year = yy <= 90 ? 2000 + yy : 1900 + yy;
    d = QDate(year, t.mid(2, 2).toInt(), t.mid(4, 2).toInt());
  }
  return d.isValid() ? d : fallback;
}

QTime ParseFileTime(const QByteArray& text) {
  if (text.isEmpty() || !IsDigits(text)) return QTime(0, 0, 0);
  // Received files sometimes carry impossible times; they read as midnight
  // instead of stopping the run.
  QTime t(text.left(2).toInt(), text.mid(2, 2).toInt(), text.mid(4, 2).toInt());
  return t.isValid() ? t : QTime(0, 0, 0);
}

QDate NextWorkdayNoSunday() {
  QDate d = Today().addDays(1);
  if (d.dayOfWeek() == Qt::Sunday) d = d.addDays(1);
  return d;
}

QString FormatMoney(qint64 won) {
  QString digits = QString::number(won < 0 ? -won : won);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
  return won < 0 ? QLatin1Char('-') + digits : digits;
}

}  // namespace orvan
