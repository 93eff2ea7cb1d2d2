#include "app/calendar.h"
#include "app/ctl.h"

namespace orvan {

namespace {
// The years for which the astronomical calendar is trusted.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;
}  // namespace

int CtlHolidays(CtlContext& ctx) {
  bool ok = false;
  const int year = ctx.args.size() == 1 ? ctx.args.first().toInt(&ok) : 0;
  if (!ok || year < kFirstYear || year > kLastYear) {
    ctx.err << "usage: orvanctl holidays YEAR  (" << kFirstYear << "-" << kLastYear << ")\n";
    return 2;
  }
  const bool loadedHere = !HolidayListsLoaded();
  if (loadedHere) LoadHolidayLists();
  for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
    if (d.dayOfWeek() < Qt::Saturday && IsHoliday(d)) ctx.out << d.toString(Qt::ISODate) << '\n';
  }
  if (loadedHere) FreeHolidayLists();
  return 0;
}

}  // namespace orvan
