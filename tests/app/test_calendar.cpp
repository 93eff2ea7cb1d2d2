#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <QTextStream>

#include "app/calendar.h"
#include "app/ctl.h"

using namespace orvan;

namespace orvan {
void PrintTo(const LunarDate& l, std::ostream* os) {
  *os << l.year << "/" << (l.leapMonth ? "leap " : "") << l.month << "/" << l.day << (l.longMonth ? " long" : " short");
}
}  // namespace orvan

namespace {

QDate D(const char* iso) { return QDate::fromString(QLatin1String(iso), Qt::ISODate); }

class CalendarTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadHolidayLists(); }
  void TearDown() override { FreeHolidayLists(); }
};

struct HolidayCase {
  const char* date;
  bool holiday;
  const char* why;
};

void ExpectHolidays(const std::vector<HolidayCase>& cases) {
  for (const HolidayCase& c : cases) {
    EXPECT_EQ(IsHoliday(D(c.date)), c.holiday) << c.date << " " << c.why;
  }
}

}  // namespace

// The eve is the last day of the twelfth month, 29 or 30 days long. 2027 and
// 2028 are years in which a new moon a few minutes either side of midnight puts
// Seollal a day later in Korean time than at UTC+8.
TEST_F(CalendarTest, SeollalEveDayAndDayAfter) {
  ExpectHolidays({
      {"2025-01-28", true, "eve, 12th month of 29 days"},
      {"2025-01-29", true, "Seollal"},
      {"2025-01-30", true, "day after"},
      {"2025-01-31", false, "third day"},
      {"2026-02-13", false, "three days before"},
      {"2026-02-16", true, "eve, 12th month of 29 days"},
      {"2026-02-17", true, "Seollal"},
      {"2026-02-18", true, "day after"},
      {"2026-02-19", false, "third day"},
      {"2022-01-28", false, "Friday before"},
      {"2022-01-31", true, "eve, 12th month of 29 days"},
      {"2024-02-08", false, "12/29 of a 30-day month"},
      {"2024-02-09", true, "eve, 12th month of 30 days"},
      {"2021-02-10", false, "12/29 of a 30-day month"},
      {"2021-02-11", true, "eve, 12th month of 30 days"},
      {"2021-02-12", true, "Seollal"},
      {"2028-01-25", false, "two days before"},
      {"2028-01-26", true, "eve (Seollal at UTC+8)"},
      {"2028-01-27", true, "Seollal in Korean time"},
      {"2028-01-28", true, "day after"},
      {"2027-02-05", false, "Friday before"},
      {"2027-02-08", true, "day after (Seollal on Sunday)"},
      {"2027-02-09", false, "third day"},
  });
}

// No eighth month is doubled between 2000 and 2050; 1995 and 2052 have one.
// The days of a leap month count like those of the ordinary month.
TEST_F(CalendarTest, ChuseokAndItsNeighbours) {
  ExpectHolidays({
      {"2023-09-27", false, "day before 8/14"},
      {"2023-09-28", true, "8/14"},
      {"2023-09-29", true, "Chuseok"},
      {"2024-09-13", false, "8/11"},
      {"2024-09-16", true, "8/14"},
      {"2024-09-17", true, "Chuseok"},
      {"2024-09-18", true, "8/16"},
      {"2024-09-19", false, "8/17"},
      {"2025-10-06", true, "Chuseok"},
      {"2025-10-07", true, "8/16"},
      {"2025-10-08", false, "8/17"},
      {"2026-09-23", false, "8/13"},
      {"2026-09-24", true, "8/14"},
      {"2026-09-25", true, "Chuseok"},
      {"2028-10-02", true, "8/14"},
      {"2028-10-04", true, "8/16"},
      {"2028-10-05", false, "8/17"},
      {"1995-09-08", true, "8/14 of 1995"},
      {"1995-10-10", true, "leap 8/16"},
      {"2052-10-07", true, "leap 8/15"},
      {"2052-10-08", true, "leap 8/16"},
  });
}

TEST_F(CalendarTest, BuddhasBirthday) {
  ExpectHolidays({
      {"2018-05-22", true, "4/8"},
      {"2020-04-30", true, "4/8"},
      {"2021-05-19", true, "4/8"},
      {"2024-05-15", true, "4/8"},
      {"2024-05-16", false, "4/9"},
      {"2024-05-14", false, "4/7"},
      {"2001-05-01", true, "4/8"},
      {"2001-05-30", true, "leap 4/8"},
  });
}

TEST_F(CalendarTest, SolarListEveryYearAndOtherWeekdaysNot) {
  const char* listed[] = {"0101", "0301", "0501", "0505", "0606", "0815", "1003", "1009", "1225", "0127", "0415"};
  for (int year : {2019, 2024, 2031, 2046}) {
    for (const char* mmdd : listed) {
      QDate d(year, QString::fromLatin1(mmdd).left(2).toInt(), QString::fromLatin1(mmdd).mid(2).toInt());
      EXPECT_TRUE(IsHoliday(d)) << d.toString(Qt::ISODate).toStdString();
    }
  }
  ExpectHolidays({
      {"2024-06-05", false, "Wednesday"},
      {"2024-12-24", false, "Tuesday"},
      {"2024-10-02", false, "Wednesday"},
      {"2024-01-26", false, "Friday"},
      {"2024-04-16", false, "Tuesday"},
      {"2024-03-04", false, "Monday after 1 March on Friday"},
  });
}

TEST_F(CalendarTest, EverySaturdayAndSundayIsAHoliday) {
  int weekendDays = 0;
  for (QDate d(2030, 1, 1); d.year() == 2030; d = d.addDays(1)) {
    if (d.dayOfWeek() >= Qt::Saturday) {
      ++weekendDays;
      EXPECT_TRUE(IsHoliday(d)) << d.toString(Qt::ISODate).toStdString();
    }
  }
  EXPECT_EQ(weekendDays, 104);
}

TEST_F(CalendarTest, DaysBetweenIsSignedAndCountsLeapDays) {
  struct Case {
    const char* date;
    const char* reference;
    int days;
  } cases[] = {
      {"2024-05-02", "2024-05-01", 1},   {"2024-05-01", "2024-05-02", -1}, {"2024-05-01", "2024-05-01", 0},
      {"2024-03-01", "2024-02-28", 2},   {"2023-03-01", "2023-02-28", 1},  {"1900-03-01", "1900-02-28", 1},
      {"2000-03-01", "2000-02-28", 2},   {"2001-01-01", "2000-01-01", 366}, {"1995-12-31", "2025-12-31", -10958},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DaysBetween(D(c.date), D(c.reference)), c.days) << c.date << " from " << c.reference;
  }
}

TEST(Calendar, SolarToLunarKnownDatesIncludingLeapMonths) {
  struct Case {
    const char* date;
    LunarDate lunar;
  } cases[] = {
      {"2000-02-05", {2000, 1, 1, false, true}},
      {"1997-02-08", {1997, 1, 1, false, false}},  // Korean time; a day later than at UTC+8
      {"1997-02-07", {1996, 12, 30, false, true}},
      {"2025-01-28", {2024, 12, 29, false, false}},
      {"2024-02-09", {2023, 12, 30, false, true}},
      {"2023-03-21", {2023, 2, 30, false, true}},
      {"2023-03-22", {2023, 2, 1, true, false}},
      {"2023-04-19", {2023, 2, 29, true, false}},
      {"2023-04-20", {2023, 3, 1, false, true}},
      {"2020-05-23", {2020, 4, 1, true, false}},
      {"2017-06-24", {2017, 5, 1, true, false}},
      {"2012-04-21", {2012, 3, 1, true, true}},
      {"2025-10-06", {2025, 8, 15, false, false}},
      {"2025-07-25", {2025, 6, 1, true, false}},
      // Two months without a principal term in a row of 13: the leap is the
      // one right after the solstice month.
      {"2033-11-22", {2033, 11, 1, false, true}},
      {"2033-12-22", {2033, 11, 1, true, false}},
  };
  for (const Case& c : cases) {
    LunarDate l = SolarToLunar(D(c.date));
    EXPECT_EQ(l, c.lunar) << c.date;
  }
  EXPECT_EQ(SolarToLunar(QDate()), LunarDate{});
}

// The lunar new year and leap months of 2000-2050 in Korean time.
TEST(Calendar, SeollalAndLeapMonthsOverFiftyYears) {
  const char* seollal[] = {
      "2000-02-05", "2001-01-24", "2002-02-12", "2003-02-01", "2004-01-22", "2005-02-09", "2006-01-29",
      "2007-02-18", "2008-02-07", "2009-01-26", "2010-02-14", "2011-02-03", "2012-01-23", "2013-02-10",
      "2014-01-31", "2015-02-19", "2016-02-08", "2017-01-28", "2018-02-16", "2019-02-05", "2020-01-25",
      "2021-02-12", "2022-02-01", "2023-01-22", "2024-02-10", "2025-01-29", "2026-02-17", "2027-02-07",
      "2028-01-27", "2029-02-13", "2030-02-03", "2031-01-23", "2032-02-11", "2033-01-31", "2034-02-19",
      "2035-02-08", "2036-01-28", "2037-02-15", "2038-02-04", "2039-01-24", "2040-02-12", "2041-02-01",
      "2042-01-22", "2043-02-10", "2044-01-30", "2045-02-17", "2046-02-06", "2047-01-26", "2048-02-14",
      "2049-02-02", "2050-01-23"};
  for (const char* iso : seollal) {
    QDate d = D(iso);
    LunarDate l = SolarToLunar(d);
    EXPECT_TRUE(l.year == d.year() && l.month == 1 && l.day == 1 && !l.leapMonth) << iso;
    EXPECT_EQ(SolarToLunar(d.addDays(-1)).month, 12) << iso;
  }

  QMap<int, int> leapMonths;
  for (QDate d(2000, 1, 1); d.year() <= 2050; d = d.addDays(1)) {
    LunarDate l = SolarToLunar(d);
    if (l.leapMonth && l.day == 1) leapMonths.insert(l.year, l.month);
  }
  QMap<int, int> expected{{2001, 4},  {2004, 2},  {2006, 7}, {2009, 5}, {2012, 3}, {2014, 9}, {2017, 5},
                          {2020, 4},  {2023, 2},  {2025, 6}, {2028, 5}, {2031, 3}, {2033, 11}, {2036, 6},
                          {2039, 5},  {2042, 2},  {2044, 7}, {2047, 5}, {2050, 3}};
  EXPECT_EQ(leapMonths, expected);
}

// Day numbers in universal time since 1995-12-31 00:00 at eclipses, where
// the moon is exactly new or full.
TEST(Calendar, MoonSunElongationAtNewAndFullMoons) {
  const QDateTime epoch(QDate(1995, 12, 31), QTime(0, 0), Qt::UTC);
  struct Case {
    const char* utc;
    double degrees;
  } cases[] = {
      {"2017-08-21T18:30:00", 0}, {"2024-04-08T18:21:00", 0}, {"2023-04-20T04:13:00", 0},
      {"2022-11-08T11:02:00", 180}, {"2025-03-14T06:55:00", 180}, {"2021-05-26T11:14:00", 180},
  };
  for (const Case& c : cases) {
    QDateTime t = QDateTime::fromString(QLatin1String(c.utc), Qt::ISODate);
    t.setTimeSpec(Qt::UTC);
    double e = MoonSunElongation(epoch.msecsTo(t) / 86400000.0);
    EXPECT_GE(e, 0.0);
    EXPECT_LT(e, 360.0);
    double off = std::fmod(e - c.degrees + 540.0, 360.0) - 180.0;
    EXPECT_LT(std::fabs(off), 0.5) << c.utc << " gave " << e;
  }
  for (double x : {-5000.25, -0.5, 0.0, 12345.678}) {
    double e = MoonSunElongation(x);
    EXPECT_TRUE(e >= 0.0 && e < 360.0) << x;
  }
}

TEST(Calendar, ListsLoadFreeAndLateCallsStillAnswer) {
  LoadHolidayLists();
  EXPECT_TRUE(HolidayListsLoaded());
  FreeHolidayLists();
  EXPECT_FALSE(HolidayListsLoaded());
  EXPECT_TRUE(IsHoliday(D("2024-12-25")));
  EXPECT_TRUE(IsHoliday(D("2024-09-17")));
  EXPECT_FALSE(IsHoliday(D("2024-12-24")));
  EXPECT_FALSE(IsHoliday(QDate()));
  FreeHolidayLists();
}

TEST(Calendar, CtlHolidaysListsWeekdayHolidaysOfTheYear) {
  QString out, err;
  QTextStream o(&out), e(&err);
  EXPECT_EQ(RunCtl({QStringLiteral("holidays"), QStringLiteral("2025")}, o, e), 0);
  o.flush();
  EXPECT_EQ(out, QStringLiteral("2025-01-01\n2025-01-27\n2025-01-28\n2025-01-29\n2025-01-30\n2025-04-15\n"
                                "2025-05-01\n2025-05-05\n2025-06-06\n2025-08-15\n2025-10-03\n2025-10-06\n"
                                "2025-10-07\n2025-10-09\n2025-12-25\n"));
  EXPECT_TRUE(err.isEmpty());
  EXPECT_FALSE(HolidayListsLoaded());
}

TEST(Calendar, CtlHolidaysRejectsABadYear) {
  const QStringList bad[] = {{}, {QStringLiteral("abc")}, {QStringLiteral("20x5")}, {QStringLiteral("1800")},
                             {QStringLiteral("2025"), QStringLiteral("2026")}};
  for (const QStringList& args : bad) {
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(RunCtl(QStringList{QStringLiteral("holidays")} + args, o, e), 2) << args.join(' ').toStdString();
    o.flush();
    e.flush();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains(QStringLiteral("usage: orvanctl holidays YEAR"))) << err.toStdString();
  }
}
