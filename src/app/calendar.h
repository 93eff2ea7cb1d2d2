#pragma once
// Banks work only on business days. The calendar answers whether a date is a
// bank holiday in Korea (weekend, fixed solar-calendar holiday or lunar-calendar
// holiday) and gives signed day differences. Lunar holidays need the Korean
// lunisolar date, which is computed astronomically (true new moons and principal
// solar terms in Korean standard time), without any year table.
#include <QDate>

namespace orvan {

struct CtlContext;

struct LunarDate {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-30
  bool leapMonth = false;
  bool longMonth = false;  // the month has 30 days
  bool operator==(const LunarDate&) const = default;
};

// The holiday lists live from the main window's creation until the exit is
// confirmed. IsHoliday outside that span loads them itself rather than fail.
void LoadHolidayLists();
void FreeHolidayLists();
bool HolidayListsLoaded();

bool IsHoliday(const QDate& date);

// Days from `reference` to `date`; positive when `date` is later.
int DaysBetween(const QDate& date, const QDate& reference);

// The Korean lunisolar date; an invalid date gives a zero LunarDate.
LunarDate SolarToLunar(const QDate& date);

// The moon's longitude minus the sun's, in [0, 360), from mean motions, at a
// moment given as fractional days since 1995-12-31 00:00. The constants are
// referred to universal time (not Korean time): conjunctions come out within
// a few tenths of a degree. SolarToLunar does not rely on it.
double MoonSunElongation(double dayNumber);

// `orvanctl holidays YEAR`: the weekday holidays of the year, one a line.
int CtlHolidays(CtlContext& ctx);

}  // namespace orvan
