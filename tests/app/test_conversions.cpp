#include <gtest/gtest.h>

#include "app/conversions.h"
#include "platform/clock.h"
#include "testsupport.h"

using namespace orvan;

TEST(Conversions, ParseFileDate) {
  ScopedClock clock(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
  struct Case {
    QByteArray text;
    bool eight;
    QDate want;
  } cases[] = {
      {"000315", false, QDate(2000, 3, 15)},
      {"910315", false, QDate(1991, 3, 15)},
      {"900315", false, QDate(2090, 3, 15)},
      {"0315", false, QDate(2026, 3, 15)},
      {"00000101", true, QDate(2000, 1, 1)},
      {"20261231", true, QDate(2026, 12, 31)},
      {"20260230", true, QDate(1990, 1, 1)},
      {"261331", false, QDate(1990, 1, 1)},
      {"", true, QDate(1990, 1, 1)},
      {"000000", false, QDate(1990, 1, 1)},
      {"2026 101", true, QDate(1990, 1, 1)},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseFileDate(c.text, c.eight), c.want) << c.text.constData();
}

TEST(Conversions, ParseFileTime) {
  struct Case {
    QByteArray text;
    QTime want;
  } cases[] = {
      {"093015", QTime(9, 30, 15)}, {"000000", QTime(0, 0, 0)}, {"", QTime(0, 0, 0)},
      {"12a000", QTime(0, 0, 0)},   {"246199", QTime(0, 0, 0)},  // impossible: midnight, not a crash
      {"2359", QTime(23, 59, 0)},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseFileTime(c.text), c.want) << c.text.constData();
}

TEST(Conversions, NumbersAndMoney) {
  EXPECT_EQ(TextToInt(QByteArray("0042  ")), 42);
  EXPECT_EQ(TextToInt(QByteArray("")), 0);
  EXPECT_EQ(TextToInt(QByteArray("4a")), 0);
  struct Case {
    QString text;
    qint64 want;
  } amounts[] = {
      {QStringLiteral(""), 0},         {QStringLiteral(" 1500 "), 1500},
      {QStringLiteral("1,234,567"), 1234567}, {QStringLiteral("12.5"), 13},
      {QStringLiteral("abc"), 0},      {QStringLiteral("9999999999999"), 9999999999999LL},  // beyond 32 bits
      {QStringLiteral("-300"), -300},
  };
  for (const auto& c : amounts) EXPECT_EQ(TextToAmount(c.text), c.want) << c.text.toStdString();
  EXPECT_EQ(FormatMoney(0), QStringLiteral("0"));
  EXPECT_EQ(FormatMoney(1234567), QStringLiteral("1,234,567"));
  EXPECT_EQ(FormatMoney(-1000), QStringLiteral("-1,000"));
  EXPECT_EQ(FormatMoney(999), QStringLiteral("999"));
}

TEST(Conversions, NextWorkdaySkipsSundayOnly) {
  struct Case {
    QDate today, want;
  } cases[] = {
      {QDate(2026, 12, 11), QDate(2026, 12, 12)},  // Friday → Saturday
      {QDate(2026, 12, 12), QDate(2026, 12, 14)},  // Saturday → Monday
      {QDate(2026, 12, 13), QDate(2026, 12, 14)},
  };
  for (const auto& c : cases) {
    ScopedClock clock(QDateTime(c.today, QTime(9, 0)));
    EXPECT_EQ(NextWorkdayNoSunday(), c.want);
  }
}
