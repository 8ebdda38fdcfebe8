#include <gtest/gtest.h>

#include "platform/OleDateTime.h"

namespace {

WORD DosDate(int year, int month, int day) {
  return static_cast<WORD>(((year - 1980) << 9) | (month << 5) | day);
}
WORD DosTime(int hour, int minute, int twoSeconds) {
  return static_cast<WORD>((hour << 11) | (minute << 5) | twoSeconds);
}

constexpr double kSecond = 1.0 / 86400;

}  // namespace

TEST(DosDateTime, ConvertsEveryFieldAtItsEdges) {
  struct Row {
    WORD date, time;
    double value;
  };
  const Row rows[] = {
      {DosDate(1980, 1, 1), DosTime(0, 0, 0), 29221.0},
      {DosDate(1980, 2, 29), DosTime(0, 0, 0), 29221.0 + 59},
      {DosDate(2107, 12, 31), DosTime(23, 59, 29), 75971.0 + 86398 * kSecond},
      {DosDate(2026, 12, 6), DosTime(14, 5, 4), 46362.0 + (14 * 3600 + 5 * 60 + 8) * kSecond},
      {DosDate(1980, 1, 1), DosTime(0, 0, 1), 29221.0 + 2 * kSecond},
  };
  for (const Row& row : rows) {
    double value = -1;
    ASSERT_TRUE(DosDateTimeToVariantTime(row.date, row.time, &value)) << row.date << ' ' << row.time;
    EXPECT_NEAR(value, row.value, 1e-9) << row.date << ' ' << row.time;
  }
}

TEST(DosDateTime, SecondsAreStoredInUnitsOfTwo) {
  // The time word cannot hold an odd second: the field 29 is 58 seconds.
  const COleDateTime t(DosDate(2001, 5, 17), DosTime(10, 11, 29));
  EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
  EXPECT_EQ(t.GetSecond(), 58);
  EXPECT_EQ(t.GetMinute(), 11);
  EXPECT_EQ(t.GetHour(), 10);
  EXPECT_EQ(t.GetDay(), 17);
  EXPECT_EQ(t.GetMonth(), 5);
  EXPECT_EQ(t.GetYear(), 2001);
}

TEST(DosDateTime, RefusesFieldsOutOfRange) {
  const struct {
    WORD date, time;
  } refused[] = {
      {DosDate(1980, 0, 1), 0},  {DosDate(1980, 13, 1), 0},
      {DosDate(1980, 1, 0), 0},  {DosDate(1981, 2, 29), 0},
      {DosDate(1980, 4, 31), 0}, {DosDate(1980, 1, 1), DosTime(24, 0, 0)},
      {DosDate(1980, 1, 1), DosTime(31, 0, 0)}, {DosDate(1980, 1, 1), DosTime(0, 60, 0)},
      {DosDate(1980, 1, 1), DosTime(0, 0, 30)}, {0, 0},
  };
  for (const auto& row : refused) {
    double value = 123.0;
    EXPECT_FALSE(DosDateTimeToVariantTime(row.date, row.time, &value)) << row.date << ' ' << row.time;
    EXPECT_EQ(value, 123.0);
    const COleDateTime t(row.date, row.time);
    EXPECT_EQ(t.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(t.m_dt, 0.0);
  }
  EXPECT_FALSE(DosDateTimeToVariantTime(DosDate(1980, 1, 1), 0, nullptr));
}
