#include "app/calendar.h"

#include <QStringList>

#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace orvan {

namespace {

// ---------------------------------------------------------------------------
// Holiday lists ("MMDD"). The lunar "1230" stands for the eve of the lunar new
// year, which is the last day of the twelfth month whatever its length.

struct HolidayLists {
  QStringList solar;
  QStringList lunar;
};

std::optional<HolidayLists>& Lists() {
  static std::optional<HolidayLists> lists;
  return lists;
}

// ---------------------------------------------------------------------------
// Astronomy. Instants are Julian days; JDE is in terrestrial time, JD in UT.

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kSynodicMonth = 29.530588861;
constexpr double kTropicalYear = 365.242189;
constexpr double kKoreaUtcOffsetDays = 9.0 / 24.0;

double Norm360(double a) {
  a = std::fmod(a, 360.0);
  return a < 0 ? a + 360.0 : a;
}

double SinDeg(double a) { return std::sin(a * kDegToRad); }

// TT - UT in seconds: observed values by decade up to the 2020s, a gentle
// extrapolation after, the long-term parabola outside.
double DeltaTSeconds(double year) {
  static const double table[][2] = {
      {1900, -2.8}, {1910, 10.4}, {1920, 21.2}, {1930, 24.0}, {1940, 24.3}, {1950, 29.1}, {1960, 33.1},
      {1970, 40.2}, {1980, 50.5}, {1990, 56.9}, {2000, 63.8}, {2010, 66.1}, {2020, 69.4}, {2030, 71.0},
      {2040, 73.0}, {2050, 75.0}, {2100, 100.0}};
  constexpr int n = sizeof(table) / sizeof(table[0]);
  if (year < table[0][0] || year > table[n - 1][0]) {
    double u = (year - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
  }
  for (int i = 1; i < n; ++i) {
    if (year <= table[i][0]) {
      double f = (year - table[i - 1][0]) / (table[i][0] - table[i - 1][0]);
      return table[i - 1][1] + f * (table[i][1] - table[i - 1][1]);
    }
  }
  return table[n - 1][1];
}

double JdeToJdUt(double jde) {
  double year = 2000.0 + (jde - 2451545.0) / 365.25;
  return jde - DeltaTSeconds(year) / 86400.0;
}

// Julian day number of the civil date in Korean standard time.
qint64 KoreanDay(double jdUt) { return static_cast<qint64>(std::floor(jdUt + 0.5 + kKoreaUtcOffsetDays)); }

// The instant of the k-th new moon after the one of 2000-01-06, from the mean
// phase with the periodic and planetary corrections of lunar theory.
double NewMoonJde(int k) {
  const double kk = k;
  const double t = kk / 1236.85;
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  double jde = 2451550.09766 + kSynodicMonth * kk + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
  const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
  const double m = 2.5534 + 29.10535670 * kk - 0.0000014 * t2 - 0.00000011 * t3;
  const double mp = 201.5643 + 385.81693528 * kk + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
  const double f = 160.7108 + 390.67050284 * kk - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
  const double om = 124.7746 - 1.56375588 * kk + 0.0020672 * t2 + 0.00000215 * t3;

  jde += -0.40720 * SinDeg(mp) + 0.17241 * e * SinDeg(m) + 0.01608 * SinDeg(2 * mp) + 0.01039 * SinDeg(2 * f) +
         0.00739 * e * SinDeg(mp - m) - 0.00514 * e * SinDeg(mp + m) + 0.00208 * e * e * SinDeg(2 * m) -
         0.00111 * SinDeg(mp - 2 * f) - 0.00057 * SinDeg(mp + 2 * f) + 0.00056 * e * SinDeg(2 * mp + m) -
         0.00042 * SinDeg(3 * mp) + 0.00042 * e * SinDeg(m + 2 * f) + 0.00038 * e * SinDeg(m - 2 * f) -
         0.00024 * e * SinDeg(2 * mp - m) - 0.00017 * SinDeg(om) - 0.00007 * SinDeg(mp + 2 * m) +
         0.00004 * SinDeg(2 * mp - 2 * f) + 0.00004 * SinDeg(3 * m) + 0.00003 * SinDeg(mp + m - 2 * f) +
         0.00003 * SinDeg(2 * mp + 2 * f) - 0.00003 * SinDeg(mp + m + 2 * f) + 0.00003 * SinDeg(mp - m + 2 * f) -
         0.00002 * SinDeg(mp - m - 2 * f) - 0.00002 * SinDeg(3 * mp + m) + 0.00002 * SinDeg(4 * mp);

  static const double planetary[][3] = {
      {299.77, 0.107408, 0.000325}, {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
      {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
      {207.14, 2.453732, 0.000060}, {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},
      {207.19, 0.121824, 0.000042}, {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
      {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023}};
  for (int i = 0; i < 14; ++i) {
    double a = planetary[i][0] + planetary[i][1] * kk;
    if (i == 0) a -= 0.009173 * t2;
    jde += planetary[i][2] * SinDeg(a);
  }
  return jde;
}

qint64 NewMoonDay(int k) { return KoreanDay(JdeToJdUt(NewMoonJde(k))); }

// The planetary theory's series for the earth's heliocentric longitude,
// truncated to the terms that matter at the level of a few arc seconds.
struct Term {
  double a, b, c;
};

const Term kL0[] = {
    {175347046, 0, 0}, {3341656, 4.6692568, 6283.0758500}, {34894, 4.62610, 12566.15170},
    {3497, 2.7441, 5753.3849}, {3418, 2.8289, 3.5231}, {3136, 3.6277, 77713.7715}, {2676, 4.4181, 7860.4194},
    {2343, 6.1352, 3930.2097}, {1324, 0.7425, 11506.7698}, {1273, 2.0371, 529.6910}, {1199, 1.1096, 1577.3435},
    {990, 5.233, 5884.927}, {902, 2.045, 26.298}, {857, 3.508, 398.149}, {780, 1.179, 5223.694},
    {753, 2.533, 5507.553}, {505, 4.583, 18849.228}, {492, 4.205, 775.523}, {357, 2.920, 0.067},
    {317, 5.849, 11790.629}, {284, 1.899, 796.298}, {271, 0.315, 10977.079}, {243, 0.345, 5486.778},
    {206, 4.806, 2544.314}, {205, 1.869, 5573.143}, {202, 2.458, 6069.777}, {156, 0.833, 213.299},
    {132, 3.411, 2942.463}, {126, 1.083, 20.775}, {115, 0.645, 0.980}, {103, 0.636, 4694.003},
    {102, 0.976, 15720.839}, {102, 4.267, 7.114}, {99, 6.21, 2146.17}, {98, 0.68, 155.42},
    {86, 5.98, 161000.69}, {85, 1.30, 6275.96}, {85, 3.67, 71430.70}, {80, 1.81, 17260.15},
    {79, 3.04, 12036.46}, {75, 1.76, 5088.63}, {74, 3.50, 3154.69}, {74, 4.68, 801.82}, {70, 0.83, 9437.76},
    {62, 3.98, 8827.39}, {61, 1.82, 7084.90}, {57, 2.78, 6286.60}, {56, 4.39, 14143.50}, {56, 3.47, 6279.55},
    {52, 0.19, 12139.55}, {52, 1.33, 1748.02}, {51, 0.28, 5856.48}, {49, 0.49, 1194.45}, {41, 5.37, 8429.24},
    {41, 2.40, 19651.05}, {39, 6.17, 10447.39}, {37, 6.04, 10213.29}, {37, 2.57, 1059.38},
    {36, 1.71, 2352.87}, {36, 1.78, 6812.77}, {33, 0.59, 17789.85}, {30, 0.44, 83996.85},
    {30, 2.74, 1349.87}, {25, 3.16, 4690.48}};
const Term kL1[] = {
    {628331966747.0, 0, 0}, {206059, 2.678235, 6283.075850}, {4303, 2.6351, 12566.1517}, {425, 1.590, 3.523},
    {119, 5.796, 26.298}, {109, 2.966, 1577.344}, {93, 2.59, 18849.23}, {72, 1.14, 529.69}, {68, 1.87, 398.15},
    {67, 4.41, 5507.55}, {59, 2.89, 5223.69}, {56, 2.17, 155.42}, {45, 0.40, 796.30}, {36, 0.47, 775.52},
    {29, 2.65, 7.11}, {21, 5.34, 0.98}, {19, 1.85, 5486.78}, {19, 4.97, 213.30}, {17, 2.99, 6275.96},
    {16, 0.03, 2544.31}, {16, 1.43, 2146.17}, {15, 1.21, 10977.08}, {12, 2.83, 1748.02}, {12, 3.26, 5088.63},
    {12, 5.27, 1194.45}, {12, 2.08, 4694.00}, {11, 0.77, 553.57}, {10, 1.30, 6286.60}, {10, 4.24, 1349.87},
    {9, 2.70, 242.73}, {9, 5.64, 951.72}, {8, 5.30, 2352.87}, {6, 2.65, 9437.76}, {6, 4.67, 4690.48}};
const Term kL2[] = {
    {52919, 0, 0}, {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52}, {16, 5.19, 26.30},
    {16, 3.68, 155.42}, {10, 0.76, 18849.23}, {9, 2.06, 77713.77}, {7, 0.83, 775.52}, {5, 4.66, 1577.34},
    {4, 1.03, 7.11}, {4, 3.44, 5573.14}, {3, 5.14, 796.30}, {3, 6.05, 5507.55}, {3, 1.19, 242.73},
    {3, 6.12, 529.69}, {3, 0.31, 398.15}, {3, 2.28, 553.57}, {2, 4.38, 5223.69}, {2, 3.75, 0.98}};
const Term kL3[] = {{289, 5.844, 6283.076}, {35, 0, 0},         {17, 5.49, 12566.15}, {3, 5.20, 155.42},
                    {1, 4.72, 3.52},        {1, 5.30, 18849.23}, {1, 5.97, 242.73}};
const Term kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
const Term kL5[] = {{1, 3.14, 0}};
const Term kR0[] = {{100013989, 0, 0}, {1670700, 3.0984635, 6283.0758500}, {13956, 3.05525, 12566.15170},
                    {3084, 5.1985, 77713.7715}, {1628, 1.1739, 5753.3849}, {1576, 2.8469, 7860.4194}};
const Term kR1[] = {{103019, 1.107490, 6283.075850}, {1721, 1.0644, 12566.1517}};

template <size_t N>
double Series(const Term (&terms)[N], double tau) {
  double sum = 0;
  for (const Term& t : terms) sum += t.a * std::cos(t.b + t.c * tau);
  return sum;
}

// The sun's apparent geocentric longitude in degrees (true equinox of date).
double ApparentSunLongitude(double jde) {
  const double tau = (jde - 2451545.0) / 365250.0;
  const double l = (Series(kL0, tau) +
                    tau * (Series(kL1, tau) +
                           tau * (Series(kL2, tau) +
                                  tau * (Series(kL3, tau) + tau * (Series(kL4, tau) + tau * Series(kL5, tau)))))) /
                   1e8;
  const double r = (Series(kR0, tau) + tau * Series(kR1, tau)) / 1e8;
  double sun = l / kDegToRad + 180.0;
  const double t = tau * 10.0;
  const double om = 125.04452 - 1934.136261 * t;
  const double ls = 280.4665 + 36000.7698 * t;
  const double lm = 218.3165 + 481267.8813 * t;
  const double nutation = -17.20 * SinDeg(om) - 1.32 * SinDeg(2 * ls) - 0.23 * SinDeg(2 * lm) + 0.21 * SinDeg(2 * om);
  const double fk5 = -0.09033;
  const double aberration = -20.4898 / r;
  sun += (fk5 + nutation + aberration) / 3600.0;
  return Norm360(sun);
}

// The instant at which the sun's apparent longitude reaches `target`, near the guess.
double SunReachesLongitude(double target, double jdeGuess) {
  double jde = jdeGuess;
  for (int i = 0; i < 50; ++i) {
    double diff = Norm360(target - ApparentSunLongitude(jde) + 180.0) - 180.0;
    double step = diff * kTropicalYear / 360.0;
    jde += step;
    if (std::fabs(step) < 1e-7) break;
  }
  return jde;
}

// Winter solstice of the Gregorian year.
double WinterSolsticeJde(int year) {
  double guess = QDate(year, 12, 21).toJulianDay() + 0.0;
  return SunReachesLongitude(270.0, guess);
}

// ---------------------------------------------------------------------------
// Lunisolar months. A "sui" runs from the month that contains the winter
// solstice of one year (month 11) to that of the next. When it holds thirteen
// months, its first month without a principal term (the sun's longitude
// reaching a multiple of 30 degrees) is the leap month.

struct LunarMonth {
  qint64 start = 0;  // Julian day number of the first day (Korean date)
  qint64 end = 0;    // first day of the next month
  int year = 0;
  int number = 0;
  bool leap = false;
};

// First new moon of the month that contains the winter solstice of `year`.
int SolsticeMonthIndex(int year) {
  const double ws = WinterSolsticeJde(year);
  const qint64 wsDay = KoreanDay(JdeToJdUt(ws));
  int k = static_cast<int>(std::floor((ws - 2451550.09766) / kSynodicMonth));
  while (NewMoonDay(k + 1) <= wsDay) ++k;
  while (NewMoonDay(k) > wsDay) --k;
  return k;
}

// The months from the solstice month of year-1 up to, not including, that of year.
std::vector<LunarMonth> BuildSui(int year) {
  const int k0 = SolsticeMonthIndex(year - 1);
  const int k1 = SolsticeMonthIndex(year);
  const int count = k1 - k0;

  std::vector<qint64> starts;
  for (int k = k0; k <= k1; ++k) starts.push_back(NewMoonDay(k));

  int leapIndex = -1;
  if (count == 13) {
    const double ws0 = WinterSolsticeJde(year - 1);
    std::vector<qint64> principal;
    for (int j = 0; j <= 12; ++j) {
      double jde = j == 0 ? ws0 : SunReachesLongitude(Norm360(270.0 + 30.0 * j), ws0 + j * kTropicalYear / 12.0);
      principal.push_back(KoreanDay(JdeToJdUt(jde)));
    }
    for (int i = 1; i < count && leapIndex < 0; ++i) {
      bool has = false;
      for (qint64 d : principal) has = has || (d >= starts[i] && d < starts[i + 1]);
      if (!has) leapIndex = i;
    }
  }

  std::vector<LunarMonth> months;
  int number = 11;
  int lunarYear = year - 1;
  for (int i = 0; i < count; ++i) {
    LunarMonth m;
    m.start = starts[i];
    m.end = starts[i + 1];
    if (i > 0) {
      if (i == leapIndex) {
        m.leap = true;
      } else {
        number = number % 12 + 1;
        if (number == 1) lunarYear = year;
      }
    }
    m.number = number;
    m.year = lunarYear;
    months.push_back(m);
  }
  return months;
}

const std::vector<LunarMonth>& Sui(int year) {
  static std::mutex mutex;
  static std::map<int, std::vector<LunarMonth>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(year);
  if (it == cache.end()) it = cache.emplace(year, BuildSui(year)).first;
  return it->second;
}

bool LunarEntryMatches(const QString& entry, const QDate& date, const LunarDate& lunar) {
  const int month = entry.left(2).toInt();
  const int day = entry.mid(2, 2).toInt();
  if (lunar.month != month) return false;
  if (day == 30) {
    // The last day of the month, whatever its length: the day before the
    // following ordinary month begins.
    if (lunar.day != (lunar.longMonth ? 30 : 29)) return false;
    LunarDate next = SolarToLunar(date.addDays(1));
    return next.day == 1 && !next.leapMonth && next.month == month % 12 + 1;
  }
  // A day of a leap month counts like the same day of the ordinary month.
  return lunar.day == day;
}

}  // namespace

void LoadHolidayLists() {
  Lists() = HolidayLists{
      {QStringLiteral("0101"), QStringLiteral("0301"), QStringLiteral("0501"), QStringLiteral("0505"),
       QStringLiteral("0606"), QStringLiteral("0815"), QStringLiteral("1003"), QStringLiteral("1009"),
       QStringLiteral("1225"), QStringLiteral("0127"), QStringLiteral("0415")},
      {QStringLiteral("1230"), QStringLiteral("0101"), QStringLiteral("0102"), QStringLiteral("0408"),
       QStringLiteral("0814"), QStringLiteral("0815"), QStringLiteral("0816")}};
}

void FreeHolidayLists() { Lists().reset(); }

bool HolidayListsLoaded() { return Lists().has_value(); }

bool IsHoliday(const QDate& date) {
  if (!date.isValid()) return false;
  if (date.dayOfWeek() >= Qt::Saturday) return true;
  if (!Lists()) LoadHolidayLists();
  const HolidayLists& lists = *Lists();
  if (lists.solar.contains(date.toString(QStringLiteral("MMdd")))) return true;
  const LunarDate lunar = SolarToLunar(date);
  for (const QString& entry : lists.lunar) {
    if (LunarEntryMatches(entry, date, lunar)) return true;
  }
  return false;
}

int DaysBetween(const QDate& date, const QDate& reference) {
  return static_cast<int>(reference.daysTo(date));
}

LunarDate SolarToLunar(const QDate& date) {
  if (!date.isValid()) return {};
  const qint64 day = date.toJulianDay();
  int year = date.year();
  // The sui of `year` starts in December of the year before; dates after the
  // solstice month of `year` begins belong to the next one.
  if (day >= Sui(year).back().end) ++year;
  for (const LunarMonth& m : Sui(year)) {
    if (day >= m.start && day < m.end) {
      LunarDate lunar;
      lunar.year = m.year;
      lunar.month = m.number;
      lunar.day = static_cast<int>(day - m.start) + 1;
      lunar.leapMonth = m.leap;
      lunar.longMonth = m.end - m.start == 30;
      return lunar;
    }
  }
  return {};
}

double MoonSunElongation(double x) {
  const double l = 278.956807 + 0.98564736 * x;
  const double g = l - (282.869498 + 0.00004708 * x);
  const double s = Norm360(l + 1.919 * SinDeg(g) + 0.02 * SinDeg(2 * g));

  const double m = 27.836584 + 13.17639648 * x;
  const double a = m - (280.425774 + 0.11140356 * x);
  const double n = 2 * (m - (202.489407 - 0.05295377 * x));
  const double t = Norm360(m + 5.068889 * SinDeg(a) + 0.146111 * SinDeg(2 * a) + 0.01 * SinDeg(3 * a) -
                           0.238056 * SinDeg(g) - 0.087778 * SinDeg(g + a) + 0.048889 * SinDeg(a - g) -
                           0.129722 * SinDeg(n) - 0.011111 * SinDeg(n - a) - 0.012778 * SinDeg(a + n));
  return Norm360(t - s);
}

}  // namespace orvan
