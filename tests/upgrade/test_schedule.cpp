// The schedule the dialog writes and the client library reads: which day a
// weekly or monthly schedule falls on, and when a look for new files is due.
#include <gtest/gtest.h>

#include "testsupport.h"
#include "upgrade/schedule.h"

namespace orvan {
namespace {

QDate D(const char* yyyymmdd) { return QDate::fromString(QString::fromLatin1(yyyymmdd), QStringLiteral("yyyyMMdd")); }

TEST(UpgradeSchedule, ReadsTheRegistryTexts) {
  struct Case {
    const char *i1, *i2;
    UpgradeSchedule::Kind kind;
    int day;
  } cases[] = {
      {"EXE", "", UpgradeSchedule::Kind::EveryStart, 0},
      {"exe", "5", UpgradeSchedule::Kind::EveryStart, 0},
      {"WEEK", "2", UpgradeSchedule::Kind::Weekly, 2},
      {"WEEK", "7", UpgradeSchedule::Kind::Weekly, 7},
      {"WEEK", "8", UpgradeSchedule::Kind::NotSet, 0},
      {"WEEK", "", UpgradeSchedule::Kind::NotSet, 0},
      {"MONTH", "31", UpgradeSchedule::Kind::Monthly, 31},
      {"MONTH", "0", UpgradeSchedule::Kind::NotSet, 0},
      {"MONTH", "x", UpgradeSchedule::Kind::NotSet, 0},
      {"", "", UpgradeSchedule::Kind::NotSet, 0},
      {"DAILY", "1", UpgradeSchedule::Kind::NotSet, 0},
  };
  for (const Case& c : cases) {
    const auto s = UpgradeSchedule::parse(QString::fromLatin1(c.i1), QString::fromLatin1(c.i2));
    EXPECT_EQ(s.kind, c.kind) << c.i1 << "/" << c.i2;
    EXPECT_EQ(s.day, c.day) << c.i1 << "/" << c.i2;
  }
  EXPECT_EQ(UpgradeSchedule::parse(QStringLiteral("WEEK"), QStringLiteral("3")).interval1(), QStringLiteral("WEEK"));
  EXPECT_EQ(UpgradeSchedule::parse(QStringLiteral("MONTH"), QStringLiteral("9")).interval2(), QStringLiteral("9"));
  EXPECT_EQ(UpgradeSchedule::parse(QStringLiteral("EXE"), QStringLiteral("9")).interval2(), QString());
}

TEST(UpgradeSchedule, LastScheduledDay) {
  // 2024-03-13 is a Wednesday.
  struct Case {
    const char *i1, *i2, *today, *want;
  } cases[] = {
      {"EXE", "", "20240313", "20240313"},
      {"WEEK", "4", "20240313", "20240313"},  // Wednesday itself
      {"WEEK", "2", "20240313", "20240311"},  // Monday before
      {"WEEK", "5", "20240313", "20240307"},  // Thursday of last week
      {"WEEK", "7", "20240313", "20240309"},  // Saturday
      {"WEEK", "1", "20240313", "20240310"},  // Sunday, as the registry counts it
      {"MONTH", "13", "20240313", "20240313"},
      {"MONTH", "1", "20240313", "20240301"},
      {"MONTH", "20", "20240313", "20240220"},
      {"MONTH", "31", "20240313", "20240229"},  // February ends on the 29th in 2024
      {"MONTH", "31", "20240430", "20240430"},  // a 30-day month: its last day
      {"MONTH", "31", "20240115", "20231231"},  // across the year
  };
  for (const Case& c : cases) {
    const auto s = UpgradeSchedule::parse(QString::fromLatin1(c.i1), QString::fromLatin1(c.i2));
    EXPECT_EQ(LastScheduledDay(s, D(c.today)), D(c.want)) << c.i1 << " " << c.i2 << " " << c.today;
  }
  EXPECT_FALSE(LastScheduledDay(UpgradeSchedule{}, D("20240313")).isValid());
}

TEST(UpgradeSchedule, DueWhenTheScheduledDayFollowsTheLastUpgradeAndTheLastLook) {
  const QDate today = D("20240313");  // Wednesday
  struct Case {
    const char *i1, *i2, *updateDt, *checkDt;
    bool due;
  } cases[] = {
      {"EXE", "", "20240313", "20240313", true},  // every start
      {"", "", "20000101", "", false},            // not set
      {"WEEK", "2", "20000101", "", true},        // saved schedule: due at once
      {"WEEK", "2", "20240311", "", false},       // upgraded on Monday
      {"WEEK", "2", "20240308", "20240311", false},  // looked on Monday, nothing new
      {"WEEK", "2", "20240308", "20240310", true},   // Monday missed: due now
      {"WEEK", "4", "20240312", "", true},
      {"MONTH", "31", "20240228", "", true},
      {"MONTH", "31", "20240229", "", false},
      {"MONTH", "10", "garbage", "", true},  // unreadable date counts as long ago
  };
  for (const Case& c : cases) {
    const auto s = UpgradeSchedule::parse(QString::fromLatin1(c.i1), QString::fromLatin1(c.i2));
    EXPECT_EQ(UpgradeDue(s, QString::fromLatin1(c.updateDt), QString::fromLatin1(c.checkDt), today), c.due)
        << c.i1 << " " << c.i2 << " " << c.updateDt << " " << c.checkDt;
  }
}

TEST(UpgradeSchedule, ComparesVersionsPartByPart) {
  struct Case {
    const char *a, *b;
    int want;
  } cases[] = {
      {"1.0.0.2", "1.0.0.1", 1}, {"1.0.0.10", "1.0.0.9", 1}, {"1.0", "1.0.0.0", 0},
      {"2.0.0.0", "10.0.0.0", -1}, {"", "0.0.0.1", -1},      {"", "", 0},
      {"1.0.0.0", "", 1},         {"1.0.b", "1.0.a", 1},     {" 1.2 ", "1.2", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompareVersions(QString::fromLatin1(c.a), QString::fromLatin1(c.b)), c.want) << c.a << " vs " << c.b;
}

}  // namespace
}  // namespace orvan
