#include "upgrade/schedule.h"

#include <QStringList>

namespace orvan {

UpgradeSchedule UpgradeSchedule::parse(const QString& interval1, const QString& interval2) {
  UpgradeSchedule s;
  const QString kind = interval1.trimmed().toUpper();
  bool ok = false;
  const int day = interval2.trimmed().toInt(&ok);
  if (kind == QLatin1String("EXE")) {
    s.kind = Kind::EveryStart;
  } else if (kind == QLatin1String("WEEK") && ok && day >= 1 && day <= 7) {
    s.kind = Kind::Weekly;
    s.day = day;
  } else if (kind == QLatin1String("MONTH") && ok && day >= 1 && day <= 31) {
    s.kind = Kind::Monthly;
    s.day = day;
  }
  return s;
}

QString UpgradeSchedule::interval1() const {
  switch (kind) {
    case Kind::EveryStart: return QStringLiteral("EXE");
    case Kind::Weekly: return QStringLiteral("WEEK");
    case Kind::Monthly: return QStringLiteral("MONTH");
    case Kind::NotSet: break;
  }
  return {};
}

QString UpgradeSchedule::interval2() const {
  if (kind == Kind::Weekly || kind == Kind::Monthly) return QString::number(day);
  return {};
}

QDate LastScheduledDay(const UpgradeSchedule& s, const QDate& today) {
  switch (s.kind) {
    case UpgradeSchedule::Kind::NotSet: return {};
    case UpgradeSchedule::Kind::EveryStart: return today;
    case UpgradeSchedule::Kind::Weekly: {
      // The registry counts 1 = Sunday … 7 = Saturday; Qt 1 = Monday … 7 = Sunday.
      const int want = s.day == 1 ? 7 : s.day - 1;
      const int back = (today.dayOfWeek() - want + 7) % 7;
      return today.addDays(-back);
    }
    case UpgradeSchedule::Kind::Monthly: {
      auto inMonth = [&](const QDate& anyDayOfMonth) {
        const int d = qMin(s.day, anyDayOfMonth.daysInMonth());
        return QDate(anyDayOfMonth.year(), anyDayOfMonth.month(), d);
      };
      QDate d = inMonth(today);
      if (d > today) d = inMonth(QDate(today.year(), today.month(), 1).addMonths(-1));
      return d;
    }
  }
  return {};
}

bool UpgradeDue(const UpgradeSchedule& s, const QString& updateDt, const QString& checkDt, const QDate& today) {
  if (s.kind == UpgradeSchedule::Kind::NotSet) return false;
  if (s.kind == UpgradeSchedule::Kind::EveryStart) return true;
  const QDate last = LastScheduledDay(s, today);
  for (const QString& text : {updateDt, checkDt}) {
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("yyyyMMdd"));
    if (d.isValid() && d >= last) return false;
  }
  return true;
}

int CompareVersions(const QString& a, const QString& b) {
  const QString ta = a.trimmed(), tb = b.trimmed();
  if (ta.isEmpty() || tb.isEmpty()) return int(!ta.isEmpty()) - int(!tb.isEmpty());
  const QStringList pa = ta.split(QLatin1Char('.')), pb = tb.split(QLatin1Char('.'));
  for (qsizetype i = 0; i < qMax(pa.size(), pb.size()); ++i) {
    const QString x = i < pa.size() ? pa[i].trimmed() : QStringLiteral("0");
    const QString y = i < pb.size() ? pb[i].trimmed() : QStringLiteral("0");
    bool okx = false, oky = false;
    const qlonglong nx = x.toLongLong(&okx), ny = y.toLongLong(&oky);
    const int c = (okx && oky) ? (nx < ny ? -1 : nx > ny ? 1 : 0) : x.compare(y, Qt::CaseInsensitive);
    if (c != 0) return c < 0 ? -1 : 1;
  }
  return 0;
}

}  // namespace orvan
