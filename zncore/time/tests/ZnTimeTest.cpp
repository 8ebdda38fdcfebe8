#include "zncore/ZnTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/testing/TempDrive.h"

using platform::testing::ScopedTimeZone;
using platform::testing::kBerlinZone;
using platform::testing::kNewYorkZone;

namespace {

std::string Text(const CZnTime& t) {
  CZnString buffer;
  return std::string(t.GetTimeAsString(buffer, 0).GetView());
}

bool IsValid(const CZnTime& t) { return t.GetStatus() == COleDateTime::valid; }

}  // namespace

TEST(ZnTimeConstruction, EveryForm) {
  EXPECT_EQ(CZnTime().m_dt, 0.0);
  EXPECT_TRUE(IsValid(CZnTime()));
  EXPECT_EQ(Text(CZnTime(46362.5)), "06.12.2026 12:00:00");
  EXPECT_EQ(Text(CZnTime(2026, 12, 6, 14, 5, 9)), "06.12.2026 14:05:09");
  EXPECT_FALSE(IsValid(CZnTime(2026, 2, 30, 0, 0, 0)));
  const unsigned short dosDate = ((2026 - 1980) << 9) | (12 << 5) | 6;
  const unsigned short dosTime = (14 << 11) | (5 << 5) | 4;
  EXPECT_EQ(Text(CZnTime(dosDate, dosTime)), "06.12.2026 14:05:08");
  EXPECT_FALSE(IsValid(CZnTime(static_cast<unsigned short>(0), static_cast<unsigned short>(0))));
  EXPECT_EQ(Text(CZnTime("2026-12-06 14:05:09")), "06.12.2026 14:05:09");
  EXPECT_EQ(Text(CZnTime(2026L * 360 + 5 * 30 + 3, 3)), "03.05.2026 00:00:00");
  SYSTEMTIME st{2026, 12, 0, 6, 14, 5, 9, 0};
  EXPECT_EQ(Text(CZnTime(st)), "06.12.2026 14:05:09");
  VARIANT v;
  v.vt = VT_DATE;
  v.date = 46362.5;
  EXPECT_EQ(Text(CZnTime(v)), "06.12.2026 12:00:00");
}

TEST(ZnTimeConstruction, CopiesKeepTheStatus) {
  COleDateTime base(12.5);
  base.SetStatus(COleDateTime::null);
  const CZnTime fromBase(base);
  EXPECT_EQ(fromBase.m_dt, 12.5);
  EXPECT_EQ(fromBase.GetStatus(), COleDateTime::null);
  CZnTime copy(fromBase);
  EXPECT_EQ(copy.GetStatus(), COleDateTime::null);
  CZnTime assigned;
  assigned = copy;
  EXPECT_EQ(assigned.m_dt, 12.5);
  EXPECT_EQ(assigned.GetStatus(), COleDateTime::null);
}

TEST(ZnTimeConstruction, TimesAreLocal) {
  const long summer = 1782907200;  // 2026-07-01 12:00:00 UTC
  {
    ScopedTimeZone zone(kNewYorkZone);
    EXPECT_EQ(Text(CZnTime(summer)), "01.07.2026 08:00:00");
    EXPECT_EQ(Text(CZnTime(CTime(summer))), "01.07.2026 08:00:00");
    const std::uint64_t ticks = (std::uint64_t(summer) + 11644473600ULL) * 10000000ULL;
    EXPECT_EQ(Text(CZnTime(FILETIME{DWORD(ticks), DWORD(ticks >> 32)})), "01.07.2026 08:00:00");
  }
  ScopedTimeZone zone(kBerlinZone);
  EXPECT_EQ(Text(CZnTime(CTime(summer))), "01.07.2026 14:00:00");
  EXPECT_EQ(Text(CZnTime(CTime(0))), "01.01.1970 01:00:00");
  EXPECT_FALSE(IsValid(CZnTime(CTime(INT64_MAX))));
  EXPECT_FALSE(IsValid(CZnTime(CTime(253402300800LL))));  // year 10000
}

TEST(ZnTimeSetTimeBy, PartsFallAsTheyAre) {
  struct Row {
    long count;
    int unit;
    const char* text;  // "" when the parts are no date
  };
  const long minutesOfDate = 2026L * 518400 + 5 * 43200 + 3 * 1440 + 10 * 60 + 20;
  const Row rows[] = {
      {90, 1, ""},        // year 0, month 0, day 0, 01:30
      {24000, 3, ""},     // year 66, month 8, day 0
      {2026, 5, ""},      // year 2026, month 0
      {minutesOfDate, 1, "03.05.2026 10:20:00"},
      {2026L * 8640 + 11 * 720 + 29 * 24 + 23, 2, "29.11.2026 23:00:00"},
      {2026L * 360 + 2 * 30 + 28, 3, "28.02.2026 00:00:00"},
      {2026L * 360 + 2 * 30 + 29, 3, ""},  // 29 February 2026
      {(2026L * 360 + 7 * 30 + 1) * 86400 + 3661, 0, "01.07.2026 01:01:01"},
      {(2026L * 360 + 7 * 30 + 1) * 86400 + 3661, 9, "01.07.2026 01:01:01"},
      {-minutesOfDate, 1, ""},
      {0, 3, ""},
      {10000L * 360 + 30 + 1, 3, ""},
      // A year count beyond int must not wrap into a real year.
      {(2026L + 4294967296L) * 518400 + 5 * 43200 + 3 * 1440, 1, ""},
  };
  for (const Row& row : rows) {
    CZnTime t(3.0);
    t.SetTimeBy(row.count, row.unit);
    if (*row.text) {
      EXPECT_TRUE(IsValid(t)) << row.count << " unit " << row.unit;
      EXPECT_EQ(Text(t), row.text) << row.count << " unit " << row.unit;
    } else {
      EXPECT_FALSE(IsValid(t)) << row.count << " unit " << row.unit;
    }
    EXPECT_EQ(IsValid(CZnTime(row.count, row.unit)), *row.text != '\0');
  }
}

TEST(ZnTimeTotals, CountInTheThreeHundredSixtyDayCalendar) {
  const CZnTime t(2026, 12, 6, 14, 5, 9);
  EXPECT_EQ(t.GetTotalMonths(), 24324);
  EXPECT_EQ(t.GetTotalDays(), 729726);
  EXPECT_EQ(t.GetTotalHours(), 729726 * 24 + 14);
  EXPECT_EQ(t.GetTotalMinutes(), (729726 * 24 + 14) * 60 + 5);
  // Beyond the int range the counters wrap as 32-bit values.
  const std::int64_t seconds = ((729726LL * 24 + 14) * 60 + 5) * 60 + 9;
  EXPECT_EQ(t.GetTotalSeconds(), static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds)));
  EXPECT_EQ(CZnTime(68, 11, 30, 23, 59, 59).GetTotalSeconds(), (68 * 360 + 11 * 30 + 30) * 86400 + 86399);
  EXPECT_LT(CZnTime(69, 1, 1, 0, 0, 0).GetTotalSeconds(), 0);
  const std::int64_t lastMinutes = ((9999LL * 360 + 12 * 30 + 31) * 24 + 23) * 60 + 59;
  EXPECT_EQ(CZnTime(9999, 12, 31, 23, 59, 59).GetTotalMinutes(),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(lastMinutes)));
  // An invalid value counts with the base's -1 for every part.
  const CZnTime invalid("nothing");
  EXPECT_EQ(invalid.GetTotalMonths(), -13);
  EXPECT_EQ(invalid.GetTotalDays(), -391);
}

TEST(ZnTimeIntervals, TimeAreaIncludesItsEnds) {
  const CZnTime from(2026, 1, 1, 0, 0, 0), to(2026, 12, 31, 23, 59, 59);
  EXPECT_EQ(CZnTime(2026, 6, 1, 0, 0, 0).IsInTimeArea(from, to), 1);
  EXPECT_EQ(from.IsInTimeArea(from, to), 1);
  EXPECT_EQ(to.IsInTimeArea(from, to), 1);
  EXPECT_EQ(CZnTime(2027, 1, 1, 0, 0, 0).IsInTimeArea(from, to), 0);
  EXPECT_EQ(CZnTime(2025, 12, 31, 23, 59, 59).IsInTimeArea(from, to), 0);
  EXPECT_EQ(CZnTime(2026, 6, 1, 0, 0, 0).IsInTimeArea(to, from), 0);
  // Before 1899-12-30 the order follows the clock, not the stored number.
  const CZnTime morning(1899, 12, 29, 6, 0, 0);
  EXPECT_EQ(morning.IsInTimeArea(CZnTime(1899, 12, 29, 0, 0, 0), CZnTime(1899, 12, 29, 12, 0, 0)), 1);
}

TEST(ZnTimeIntervals, TimePeriodReached) {
  const CZnTime last(2026, 12, 6, 14, 0, 0), any(1.0);
  EXPECT_EQ(CZnTime(2026, 12, 6, 14, 30, 0).IsTimePeriodReached(last, any, 30), 1);
  EXPECT_EQ(CZnTime(2026, 12, 6, 14, 29, 59).IsTimePeriodReached(last, any, 30), 0);
  EXPECT_EQ(CZnTime(2026, 12, 6, 14, 0, 59).IsTimePeriodReached(last, any, 30), 1);  // d = 0
  EXPECT_EQ(CZnTime(2026, 12, 6, 13, 0, 0).IsTimePeriodReached(last, any, 30), 0);
  EXPECT_EQ(CZnTime(2026, 12, 6, 13, 0, 0).IsTimePeriodReached(last, any, -60), 1);
  // Months count 30 days: 31 December to 1 January is 1 day of minutes.
  EXPECT_EQ(CZnTime(2027, 1, 1, 0, 0, 0).IsTimePeriodReached(CZnTime(2026, 12, 31, 0, 0, 0), any, 1440), 1);
  // Far apart, the difference wraps like the 32-bit counters, without
  // overflow: 5000 years of minutes exceed 2^31 and read as negative.
  const CZnTime first(1, 1, 1, 0, 0, 0);
  EXPECT_EQ(CZnTime(4000, 1, 1, 0, 0, 0).IsTimePeriodReached(first, any, 0), 1);
  EXPECT_EQ(CZnTime(5000, 1, 1, 0, 0, 0).IsTimePeriodReached(first, any, 0), 0);
  EXPECT_EQ(first.IsTimePeriodReached(CZnTime(5000, 1, 1, 0, 0, 0), any, 0), 1);
}

TEST(ZnTimeIntervals, IncAndDecLeaveTheValue) {
  CZnTime t(2026, 12, 6, 14, 5, 9);
  const double before = t.m_dt;
  EXPECT_EQ(&t.Inc(5), &t);
  EXPECT_EQ(t.m_dt, before);
  const CZnTime copy = t.Dec(5);
  EXPECT_EQ(copy.m_dt, before);
  EXPECT_EQ(t.m_dt, before);
}
