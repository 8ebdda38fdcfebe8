#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnTime.h"

TEST(ZnTimeDays, SundayDecemberSixth) {
  const CZnTime t(2026, 12, 6, 14, 5, 9);
  EXPECT_EQ(t.GetDayOfWeek(1, 0), 1);
  EXPECT_EQ(t.GetDayOfWeek(7, 0), 7);
  EXPECT_EQ(t.GetDayOfWeek(7, 1), 6);
  EXPECT_EQ(t.GetDayOfWeek(0, 0), -1);
  EXPECT_EQ(t.GetDayOfWeek(8, 0), -1);
  EXPECT_EQ(t.GetDayOfWeek(), 1);  // the base's own numbering stays reachable
  EXPECT_STREQ(t.GetDayOfWeekStr(0, 1), "Sonntag");
  EXPECT_STREQ(t.GetDayOfWeekStr(1, 0), "Su.");
  EXPECT_EQ(t.CheckDayOfWeek("-JNNNNNN"), 1);
}

TEST(ZnTimeDays, NamesOfAWholeWeek) {
  struct Row {
    const char* shortGerman;
    const char* longGerman;
    const char* shortEnglish;
    const char* longEnglish;
  };
  // 7 to 13 December 2026, Monday to Sunday.
  const Row rows[] = {
      {"Mo.", "Montag", "Mo.", "Monday"},      {"Di.", "Dienstag", "Tu.", "Tuesday"},
      {"Mi.", "Mittwoch", "We.", "Wednesday"}, {"Do.", "Donnerstag", "Th.", "Thursday"},
      {"Fr.", "Freitag", "Fr.", "Friday"},     {"Sa.", "Samstag", "Sa.", "Saturday"},
      {"So.", "Sonntag", "Su.", "Sunday"},
  };
  for (int i = 0; i < 7; ++i) {
    const CZnTime t(2026, 12, 7 + i, 0, 0, 0);
    EXPECT_STREQ(t.GetDayOfWeekStr(1, 1), rows[i].shortGerman);
    EXPECT_STREQ(t.GetDayOfWeekStr(0, 1), rows[i].longGerman);
    EXPECT_STREQ(t.GetDayOfWeekStr(1, 0), rows[i].shortEnglish);
    EXPECT_STREQ(t.GetDayOfWeekStr(0, 0), rows[i].longEnglish);
    EXPECT_EQ(t.GetDayOfWeek(7, 0), i + 1);
    EXPECT_STREQ(CZnTime::m_aDayNamesFromMonday[i].szLongGerman, rows[i].longGerman);
    EXPECT_STREQ(CZnTime::m_aDayNamesFromSunday[(i + 1) % 7].szLongEnglish, rows[i].longEnglish);
  }
  EXPECT_EQ(sizeof(CZnTime::DayName), 32u);
}

TEST(ZnTimeDays, MaskPositionsOneToSeven) {
  const CZnTime monday(2026, 12, 7, 0, 0, 0), saturday(2026, 12, 12, 0, 0, 0);
  EXPECT_EQ(monday.CheckDayOfWeek("JNJNNNNN"), 1);  // position 0 is never read
  EXPECT_EQ(monday.CheckDayOfWeek("NNjNNNNN"), 1);
  EXPECT_EQ(monday.CheckDayOfWeek("JJNJJJJJ"), 0);
  EXPECT_EQ(saturday.CheckDayOfWeek("-NNNNNNJ"), 1);
  EXPECT_EQ(saturday.CheckDayOfWeek("-NNNNNNY"), 0);
  // A short mask ends before the day's position: not set, nothing read past it.
  EXPECT_EQ(saturday.CheckDayOfWeek("-JJJJJJ"), 0);
  EXPECT_EQ(monday.CheckDayOfWeek("-J"), 0);
  EXPECT_EQ(monday.CheckDayOfWeek(""), 0);
  EXPECT_EQ(monday.CheckDayOfWeek(nullptr), 0);
}

TEST(ZnTimeDays, CurrentDayComesFromThePlatformClock) {
  {
    platform::testing::FixedClock clock(2026, 12, 6, 23, 59, 59);  // a Sunday
    EXPECT_EQ(CZnTime::CheckCurrentDayOfWeek("-JNNNNNN"), 1);
    EXPECT_EQ(CZnTime::CheckCurrentDayOfWeek("-NJJJJJJ"), 0);
  }
  platform::testing::FixedClock clock(2026, 12, 12, 0, 0, 0);  // a Saturday
  EXPECT_EQ(CZnTime::CheckCurrentDayOfWeek("-NNNNNNJ"), 1);
  EXPECT_EQ(CZnTime::CheckCurrentDayOfWeek("-NNNNNN"), 0);
}

TEST(ZnTimeDays, AnInvalidValueHasNoWeekday) {
  const CZnTime invalid("not a date");
  for (int shift = 1; shift <= 7; ++shift) {
    EXPECT_EQ(invalid.GetDayOfWeek(shift, 0), -1) << shift;
    EXPECT_EQ(invalid.GetDayOfWeek(shift, 1), -1) << shift;
  }
  EXPECT_STREQ(invalid.GetDayOfWeekStr(0, 1), "");
  EXPECT_EQ(invalid.CheckDayOfWeek("JJJJJJJJ"), 0);
  EXPECT_EQ(invalid.GetWeekOfYear(), -1);
}

TEST(ZnTimeWeeks, ExamplesAndYearEnds) {
  struct Row {
    int year, month, day, week;
  };
  const Row rows[] = {
      {2026, 1, 1, 1},   {2026, 1, 4, 1},  {2026, 1, 5, 2},  {2026, 12, 31, 53},
      {2023, 1, 1, 1},   {2023, 1, 2, 2},  // 1 January 2023 is a Sunday
      {2024, 1, 7, 1},   {2024, 1, 8, 2},  // 1 January 2024 is a Monday
      {2000, 12, 31, 53},  {2012, 12, 31, 54},  // 2012 is a leap year starting on a Sunday
      {0, 1, 1, 1},      {9999, 12, 31, 53},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CZnTime(row.year, row.month, row.day, 12, 0, 0).GetWeekOfYear(), row.week)
        << row.year << '-' << row.month << '-' << row.day;
  }
}

// Every day of 1900 to 2100 against the standard library's calendar.
TEST(ZnTimeWeeks, SweepAgainstAnIndependentCalendar) {
  using namespace std::chrono;
  for (sys_days d = sys_days{year{1900} / January / 1}; d <= sys_days{year{2100} / December / 31};
       d += days{1}) {
    const year_month_day ymd{d};
    const CZnTime t(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), 0, 0, 0);
    const int sunday0 = int(weekday{d}.c_encoding());  // 0 Sunday .. 6 Saturday
    for (int shift = 1; shift <= 7; ++shift) {
      // Shift s starts the count s - 1 days before Sunday.
      const int expected = (sunday0 + shift - 1) % 7 + 1;
      ASSERT_EQ(t.GetDayOfWeek(shift, 0), expected) << shift;
      ASSERT_EQ(t.GetDayOfWeek(shift, 1), expected - 1) << shift;
    }
    const sys_days jan1 = sys_days{ymd.year() / January / 1};
    const int mondayBasedJan1 = int(weekday{jan1}.iso_encoding()) - 1;  // 0 Monday
    const int week = int((d - jan1).count() + mondayBasedJan1) / 7 + 1;
    ASSERT_EQ(t.GetWeekOfYear(), week) << int(ymd.year()) << '-' << unsigned(ymd.month()) << '-'
                                       << unsigned(ymd.day());
  }
}
