#include "platform/OleDateTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "platform/testing/TempDrive.h"

namespace {

using platform::testing::ScopedTimeZone;
constexpr const char* kNewYork = platform::testing::kNewYorkZone;
constexpr const char* kBerlin = platform::testing::kBerlinZone;

struct Fields {
  int year, month, day, hour, minute, second;
};

Fields FieldsOf(const COleDateTime& t) {
  return {t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()};
}

bool operator==(const Fields& a, const Fields& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute
             << ':' << f.second;
}

constexpr double kSecond = 1.0 / 86400;

}  // namespace

TEST(OleDateTimeSetDateTime, KnownValues) {
  struct Row {
    Fields in;
    double value;
  };
  const Row rows[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1899, 12, 31, 0, 0, 0}, 1.0},
      {{1900, 1, 1, 0, 0, 0}, 2.0},
      {{1900, 3, 1, 0, 0, 0}, 61.0},  // 1900 has no 29 February
      {{1970, 1, 1, 0, 0, 0}, 25569.0},
      {{2026, 12, 6, 12, 0, 0}, 46362.5},
      {{1899, 12, 30, 6, 0, 0}, 0.25},
      {{1899, 12, 29, 6, 0, 0}, -1.25},
      {{1899, 12, 29, 18, 0, 0}, -1.75},
      {{1800, 1, 1, 0, 0, 0}, -36522.0},
      {{100, 1, 1, 0, 0, 0}, -657434.0},
      {{0, 1, 1, 0, 0, 0}, -693959.0},
      {{0, 3, 1, 0, 0, 0}, -693959.0 + 60},  // the year 0 is a leap year
      {{9999, 12, 31, 0, 0, 0}, 2958465.0},
  };
  for (const Row& row : rows) {
    const Fields& f = row.in;
    COleDateTime t(f.year, f.month, f.day, f.hour, f.minute, f.second);
    EXPECT_EQ(t.GetStatus(), COleDateTime::valid) << f;
    EXPECT_DOUBLE_EQ(t.m_dt, row.value) << f;
    EXPECT_EQ(FieldsOf(t), f);
    EXPECT_EQ(FieldsOf(COleDateTime(row.value)), f) << row.value;
  }
}

TEST(OleDateTimeSetDateTime, RefusedFieldsLeaveTheNumberAndMarkInvalid) {
  const Fields refused[] = {
      {10000, 1, 1, 0, 0, 0}, {-1, 1, 1, 0, 0, 0},    {2026, 0, 1, 0, 0, 0},
      {2026, 13, 1, 0, 0, 0}, {2026, 1, 0, 0, 0, 0},  {2026, 1, 32, 0, 0, 0},
      {2026, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2026, 4, 31, 0, 0, 0},
      {2026, 1, 1, 24, 0, 0}, {2026, 1, 1, -1, 0, 0}, {2026, 1, 1, 0, 60, 0},
      {2026, 1, 1, 0, 0, 60}, {2026, 1, 1, 0, 0, -1},
  };
  for (const Fields& f : refused) {
    COleDateTime t(7.5);
    EXPECT_EQ(t.SetDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second), 1) << f;
    EXPECT_EQ(t.GetStatus(), COleDateTime::invalid) << f;
    EXPECT_EQ(t.m_dt, 7.5) << f;
    EXPECT_EQ(t.GetYear(), AFX_OLE_DATETIME_ERROR);
  }
  COleDateTime leap;
  EXPECT_EQ(leap.SetDateTime(2000, 2, 29, 23, 59, 59), 0);
  EXPECT_EQ(leap.GetStatus(), COleDateTime::valid);
}

TEST(OleDateTimeParts, NegativeValuesCountDaysBackAndTimeForward) {
  EXPECT_EQ(FieldsOf(COleDateTime(-1.25)), (Fields{1899, 12, 29, 6, 0, 0}));
  EXPECT_EQ(FieldsOf(COleDateTime(-0.25)), (Fields{1899, 12, 30, 6, 0, 0}));
  EXPECT_EQ(FieldsOf(COleDateTime(-1.0)), (Fields{1899, 12, 29, 0, 0, 0}));
  // Half a second short of -2.0 rounds to the day before, not to 24:00.
  EXPECT_EQ(FieldsOf(COleDateTime(-2.0 + kSecond / 4)), (Fields{1899, 12, 28, 0, 0, 0}));
}

TEST(OleDateTimeParts, RoundToTheNearestSecond) {
  const double value = COleDateTime(2026, 12, 6, 14, 5, 9).m_dt;
  for (double delta : {-0.49, -1e-6, 0.0, 1e-6, 0.49}) {
    EXPECT_EQ(FieldsOf(COleDateTime(value + delta * kSecond)), (Fields{2026, 12, 6, 14, 5, 9}))
        << delta;
  }
  // The last second of a day rounds up into the next day.
  const double late = COleDateTime(2026, 12, 31, 23, 59, 59).m_dt + 0.6 * kSecond;
  EXPECT_EQ(FieldsOf(COleDateTime(late)), (Fields{2027, 1, 1, 0, 0, 0}));
  // Every second of one day comes back as itself.
  for (int s = 0; s < 86400; ++s) {
    const COleDateTime t(2026, 12, 6, s / 3600, s / 60 % 60, s % 60);
    ASSERT_EQ(t.GetHour() * 3600 + t.GetMinute() * 60 + t.GetSecond(), s);
  }
}

TEST(OleDateTimeParts, OutsideTheYearsOrNotValidGiveMinusOne) {
  const double outside[] = {-693960.0, 2958466.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity()};
  for (double value : outside) {
    const COleDateTime t(value);
    EXPECT_EQ(FieldsOf(t), (Fields{-1, -1, -1, -1, -1, -1})) << value;
    EXPECT_EQ(t.GetDayOfWeek(), -1);
    EXPECT_EQ(t.GetDayOfYear(), -1);
    SYSTEMTIME st{};
    st.wYear = 77;
    EXPECT_FALSE(t.GetAsSystemTime(st));
    EXPECT_EQ(st.wYear, 77);
  }
  EXPECT_EQ(COleDateTime(-693959.99999).GetYear(), 0);
  EXPECT_EQ(COleDateTime(2958465.99998).GetYear(), 9999);
  COleDateTime nulled(100.0);
  nulled.SetStatus(COleDateTime::null);
  EXPECT_EQ(nulled.GetDay(), -1);
}

// Every day of the years 0 to 9999 against the standard library's calendar.
TEST(OleDateTimeParts, EveryDayMatchesAnIndependentCalendar) {
  using namespace std::chrono;
  const sys_days epoch = sys_days{year{1899} / December / 30};
  for (sys_days d = sys_days{year{0} / January / 1}; d <= sys_days{year{9999} / December / 31};
       d += days{1}) {
    const year_month_day ymd{d};
    const int y = int(ymd.year()), m = int(unsigned(ymd.month())), dd = int(unsigned(ymd.day()));
    const long serial = (d - epoch).count();
    const int second = int((serial % 86400 + 86400) % 86400);
    const COleDateTime t(y, m, dd, second / 3600, second / 60 % 60, second % 60);
    SYSTEMTIME st{};
    ASSERT_TRUE(t.GetAsSystemTime(st)) << y << '-' << m << '-' << dd;
    const double time = second / 86400.0;
    ASSERT_DOUBLE_EQ(t.m_dt, serial >= 0 ? serial + time : serial - time);
    ASSERT_EQ(st.wYear, y);
    ASSERT_EQ(st.wMonth, m);
    ASSERT_EQ(st.wDay, dd);
    ASSERT_EQ(st.wHour * 3600 + st.wMinute * 60 + st.wSecond, second);
    ASSERT_EQ(st.wDayOfWeek, weekday{d}.c_encoding());
    ASSERT_EQ(t.GetDayOfYear(), (d - sys_days{ymd.year() / January / 1}).count() + 1);
  }
}

TEST(OleDateTimeCompare, OrderFollowsTimeAlsoBeforeDayZero) {
  // 29 December 06:00 is stored as -1.25 but lies after 29 December 00:00.
  const COleDateTime midnight(-1.0), morning(-1.25), evening(-1.75), nextDay(-0.25);
  EXPECT_LT(midnight, morning);
  EXPECT_LT(morning, evening);
  EXPECT_LT(evening, COleDateTime(0.0));
  EXPECT_LT(COleDateTime(0.0), nextDay);  // -0.25 is 30 December 06:00
  EXPECT_GT(COleDateTime(1.0), COleDateTime(0.5));
  EXPECT_LE(morning, morning);
  EXPECT_GE(evening, morning);
  EXPECT_EQ(COleDateTime(-0.5), COleDateTime(0.5));  // both 30 December 12:00
  EXPECT_NE(COleDateTime(2.0), COleDateTime(2.5));
  COleDateTime invalid(2.0);
  invalid.SetStatus(COleDateTime::invalid);
  EXPECT_NE(invalid, COleDateTime(2.0));
  EXPECT_LE(invalid, COleDateTime(2.0));
}

TEST(OleDateTimeConvert, Variants) {
  struct Row {
    VARIANT in;
    COleDateTime::DateTimeStatus status;
    double value;
  };
  auto make = [](VARTYPE vt, double number) {
    VARIANT v;
    v.vt = vt;
    switch (vt) {
      case VT_I2: v.iVal = static_cast<short>(number); break;
      case VT_I4: v.lVal = static_cast<LONG>(number); break;
      case VT_R4: v.fltVal = static_cast<float>(number); break;
      case VT_R8: v.dblVal = number; break;
      default: v.date = number; break;
    }
    return v;
  };
  const Row rows[] = {
      {make(VT_DATE, 46362.5), COleDateTime::valid, 46362.5},
      {make(VT_DATE, 1e9), COleDateTime::valid, 1e9},  // a date is taken as it is
      {VARIANT{}, COleDateTime::valid, 0.0},
      {make(VT_I2, 366), COleDateTime::valid, 366.0},
      {make(VT_I4, -36522), COleDateTime::valid, -36522.0},
      {make(VT_R4, 2.5), COleDateTime::valid, 2.5},
      {make(VT_R8, -1.25), COleDateTime::valid, -1.25},
      {make(VT_R8, 3e6), COleDateTime::invalid, 9.0},
      {make(VT_I4, -700000), COleDateTime::invalid, 9.0},
      {make(VT_NULL, 0), COleDateTime::invalid, 9.0},
      {make(VARTYPE(8), 0), COleDateTime::invalid, 9.0},
  };
  for (const Row& row : rows) {
    COleDateTime t(9.0);
    t = row.in;
    EXPECT_EQ(t.GetStatus(), row.status) << row.in.vt;
    EXPECT_EQ(t.m_dt, row.value) << row.in.vt;
    EXPECT_EQ(COleDateTime(row.in).GetStatus(), row.status);
  }
}

TEST(OleDateTimeConvert, SystemTimeIgnoresWeekdayAndMilliseconds) {
  SYSTEMTIME st{2026, 12, 3, 6, 14, 5, 9, 999};
  const COleDateTime t(st);
  EXPECT_EQ(t, COleDateTime(2026, 12, 6, 14, 5, 9));
  SYSTEMTIME back{};
  ASSERT_TRUE(t.GetAsSystemTime(back));
  EXPECT_EQ(back.wDayOfWeek, 0);  // a Sunday
  EXPECT_EQ(back.wMilliseconds, 0);
  st.wDay = 31;
  st.wMonth = 11;
  EXPECT_EQ(COleDateTime(st).GetStatus(), COleDateTime::invalid);
}

TEST(OleDateTimeConvert, TimeAndFileTimeAreLocal) {
  // 2026-07-01 12:00:00 UTC; FILETIME ticks count from 1601.
  const std::time_t summer = 1782907200;
  const std::uint64_t ticks = (static_cast<std::uint64_t>(summer) + 11644473600ULL) * 10000000ULL + 9999999;
  const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  {
    ScopedTimeZone zone(kNewYork);
    EXPECT_EQ(FieldsOf(COleDateTime(summer)), (Fields{2026, 7, 1, 8, 0, 0}));
    EXPECT_EQ(FieldsOf(COleDateTime(file)), (Fields{2026, 7, 1, 8, 0, 0}));
    EXPECT_EQ(FieldsOf(COleDateTime(std::time_t(0))), (Fields{1969, 12, 31, 19, 0, 0}));
    EXPECT_EQ(FieldsOf(COleDateTime(std::time_t(-86400 * 365))), (Fields{1968, 12, 31, 19, 0, 0}));
  }
  {
    ScopedTimeZone zone(kBerlin);
    EXPECT_EQ(FieldsOf(COleDateTime(summer)), (Fields{2026, 7, 1, 14, 0, 0}));
    EXPECT_EQ(FieldsOf(COleDateTime(file)), (Fields{2026, 7, 1, 14, 0, 0}));
    EXPECT_EQ(FieldsOf(COleDateTime(FILETIME{0, 0})), (Fields{1601, 1, 1, 1, 0, 0}));
  }
  ScopedTimeZone zone("UTC0");
  // Beyond the year 9999, and file times from 2^63 on.
  COleDateTime far(9.0);
  far = std::time_t(253402300800LL);
  EXPECT_EQ(far.GetStatus(), COleDateTime::invalid);
  EXPECT_EQ(far.m_dt, 9.0);
  EXPECT_EQ(COleDateTime(std::time_t(253402300799LL)).GetYear(), 9999);
  EXPECT_EQ(COleDateTime(std::time_t(INT64_MAX)).GetStatus(), COleDateTime::invalid);
  EXPECT_EQ(COleDateTime(FILETIME{0, 0x80000000u}).GetStatus(), COleDateTime::invalid);
  EXPECT_EQ(COleDateTime(FILETIME{0xFFFFFFFFu, 0x7FFFFFFFu}).GetStatus(), COleDateTime::invalid);
}

TEST(OleDateTimeConvert, CurrentTimeComesFromThePlatformClock) {
  ScopedTimeZone zone(kBerlin);
  platform::testing::FixedClock clock(2026, 12, 6, 14, 5, 9);
  EXPECT_EQ(COleDateTime::GetCurrentTime(), COleDateTime(2026, 12, 6, 14, 5, 9));
}
