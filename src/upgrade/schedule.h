#pragma once
// The upgrade schedule as the registry keeps it (Interval1, Interval2). The
// schedule dialog shows and edits it; the upgrade client library decides
// from it, the last upgrade day and its own last check whether to look for
// new files, so both sides read the texts the same way.
#include <QDate>
#include <QString>

namespace orvan {

struct UpgradeSchedule {
  enum class Kind { NotSet, EveryStart, Weekly, Monthly };
  Kind kind = Kind::NotSet;
  // Weekly: the weekday as the registry counts it, 2 (Monday) to 7
  // (Saturday); 1 (Sunday) is read too. Monthly: the day, 1 to 31.
  int day = 0;

  // "EXE", "WEEK" + day, "MONTH" + day; anything else, or a day out of
  // range, is not set.
  static UpgradeSchedule parse(const QString& interval1, const QString& interval2);
  QString interval1() const;  // "EXE", "WEEK", "MONTH" or empty
  QString interval2() const;  // the day as text; empty for EXE and not set
};

// The latest day on or before `today` on which the schedule asks for an
// upgrade: today for EveryStart; a monthly day beyond the end of a month
// falls on its last day. Null when not set.
QDate LastScheduledDay(const UpgradeSchedule& s, const QDate& today);

// True when the client library is to look for new files now: every start,
// or when the last scheduled day lies after both the last upgrade
// (`updateDt`) and the library's last look (`checkDt`), both YYYYMMDD; a
// missing or unreadable date counts as long ago.
bool UpgradeDue(const UpgradeSchedule& s, const QString& updateDt, const QString& checkDt, const QDate& today);

// Dotted version texts ("1.0.0.12") compared part by part, numerically where
// both parts are numbers; a missing part counts as 0 and an empty text is
// older than any other. Negative, 0 or positive.
int CompareVersions(const QString& a, const QString& b);

}  // namespace orvan
