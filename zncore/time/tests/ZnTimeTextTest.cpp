#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnTime.h"

using platform::testing::ScopedTimeZone;
using platform::testing::kBerlinZone;
using platform::testing::kNewYorkZone;

namespace {

std::string Format(const CZnTime& t, int format) {
  CZnString buffer;
  return std::string(t.GetTimeAsString(buffer, format).GetView());
}

bool IsValid(const CZnTime& t) { return t.GetStatus() == COleDateTime::valid; }

}  // namespace

TEST(ZnTimeParse, ThreeLayoutsGiveOneValue) {
  const CZnTime dashed("2026-12-06 14:05:09"), dotted("06.12.2026 14:05:09"),
      packed("20261206140509");
  EXPECT_TRUE(IsValid(dashed));
  EXPECT_EQ(dashed, CZnTime(2026, 12, 6, 14, 5, 9));
  EXPECT_EQ(dotted, dashed);
  EXPECT_EQ(packed, dashed);
}

TEST(ZnTimeParse, FixedPositionsAndShortTexts) {
  struct Row {
    const char* text;
    const char* expected;  // format 0, or "" when the parts are no date
  };
  const Row rows[] = {
      {"06.12.2026", "06.12.2026 00:00:00"},
      {"2026-12-06", "06.12.2026 00:00:00"},
      {"20261206", "06.12.2026 00:00:00"},
      {"06.12.2026 1", "06.12.2026 01:00:00"},
      {"2026-12-06 14:0", "06.12.2026 14:00:00"},
      {"202612 5140509", "05.12.2026 14:05:09"},   // blank-padded day
      {"2026- 6-+7", "07.06.2026 00:00:00"},       // blanks and a sign are skipped
      {"2026/12/06 14:05:09", ""},                 // packed: month "/1" reads 0
      {"2026x12x06", ""},                          // packed: month "x1" reads 0
      {"6.12.2026", "06.02.  26 00:00:00"},        // day "6.", month "2.", year "026"
      {"06.12.2026 14:05:09 and more", "06.12.2026 14:05:09"},
      {"06-12-2026", ""},  // a '-' chooses the year-first layout: month "-2"
      {"0006-02-02", "02.02.   6 00:00:00"},
      {"2026", ""},
      {"", ""},
      {"2026-02-29 00:00:00", ""},
      {"2026-01-01 24:00:00", ""},
  };
  for (const Row& row : rows) {
    CZnTime t(5.0);
    t.SetTimeFromString(row.text);
    if (*row.expected) {
      EXPECT_TRUE(IsValid(t)) << row.text;
      EXPECT_EQ(Format(t, 0), row.expected) << row.text;
    } else {
      EXPECT_FALSE(IsValid(t)) << row.text;
      EXPECT_EQ(t.m_dt, 5.0) << row.text;
    }
  }
  EXPECT_FALSE(IsValid(CZnTime(static_cast<const char*>(nullptr))));
}

TEST(ZnTimeParse, ShortTextsAreNotReadPastTheirEnd) {
  // The text sits at the very end of a heap block: reading a fixed position
  // beyond its terminator would be caught by the address checker.
  const struct {
    const char* text;
    bool date;
    int valid;
  } rows[] = {
      {"2", false, 0},
      {"2026-1", false, 0},
      {"06.1", true, 0},  // 6 January of the year 0: a date, but no valid text
      {"2026120", false, 0},
      {"06.12.2026 14:05:0", true, 1},
  };
  for (const auto& row : rows) {
    const std::size_t size = std::char_traits<char>::length(row.text) + 1;
    const std::unique_ptr<char[]> exact(new char[size]);
    std::char_traits<char>::copy(exact.get(), row.text, size);
    EXPECT_EQ(IsValid(CZnTime(exact.get())), row.date) << row.text;
    EXPECT_EQ(CZnTime::IsValidTimeStr(exact.get()), row.valid) << row.text;
  }
}

TEST(ZnTimeParse, ValidTextUsesLooserRanges) {
  struct Row {
    const char* text;
    int valid;
  };
  const Row rows[] = {
      {"2026-12-06 14:05:09", 1}, {"2061-01-01 00:00:00", 0}, {"2060-12-31 23:59:59", 1},
      {"0001-01-01 00:00:00", 1}, {"0000-01-01 00:00:00", 0}, {"2026-02-31 10:00:00", 1},
      {"2026-01-01 24:00:00", 1}, {"2026-01-01 25:00:00", 0}, {"2026-13-01 00:00:00", 0},
      {"2026-00-01 00:00:00", 0}, {"2026-01-32 00:00:00", 0}, {"2026-01-01 00:60:00", 0},
      {"2026-01-01 00:00:60", 0}, {"06.12.2026", 1},          {"20261206", 1},
      {"2026-01-01 -1:00:00", 0}, {"", 0},                    {"nonsense", 0},
  };
  for (const Row& row : rows) EXPECT_EQ(CZnTime::IsValidTimeStr(row.text), row.valid) << row.text;
  EXPECT_EQ(CZnTime::IsValidTimeStr(nullptr), 0);
  // Checking a text does not change the object it is called on.
  CZnTime t(2.0);
  EXPECT_EQ(t.IsValidTimeStr("2026-12-06"), 1);
  EXPECT_EQ(t.m_dt, 2.0);
}

TEST(ZnTimeFormat, SixLayouts) {
  const CZnTime t(2026, 12, 6, 14, 5, 9), fifth(2026, 12, 5, 14, 5, 9),
      sixteenth(2026, 12, 16, 14, 5, 9);
  const struct {
    const CZnTime& value;
    int format;
    const char* text;
  } rows[] = {
      {t, 1, "06.12.2026"},           {t, 2, "14:05:09"},
      // The day of layout 3 is padded with a blank, not a zero.
      {sixteenth, 3, "20261216140509"}, {t, 3, "202612 6140509"}, {fifth, 3, "202612 5140509"},
      {t, 4, "12.06.2026 14:05:09"},  {t, 5, "12.06.2026"},
      {t, 0, "06.12.2026 14:05:09"},  {t, 6, "06.12.2026 14:05:09"},
      {t, -1, "06.12.2026 14:05:09"},
  };
  for (const auto& row : rows) {
    CZnString buffer("old");
    EXPECT_EQ(row.value.GetTimeAsString(buffer, row.format), row.text) << row.format;
    EXPECT_EQ(buffer, row.text) << row.format;
  }
  EXPECT_EQ(Format(CZnTime(99, 1, 2, 3, 4, 5), 0), "02.01.  99 03:04:05");
  EXPECT_EQ(Format(CZnTime("no date"), 1), "-1.-1.  -1");
}

// Text -> value -> text for every layout over many dates and times. The
// parser reads the first field of a dotted text as the day, so the month-first
// layouts 4 and 5 come back in the day-first layouts 0 and 1; the time-only
// layout 2 is read behind a date.
TEST(ZnTimeFormat, RoundTripsThroughTheParser) {
  for (int day = 0; day < 3 * 366; day += 7) {
    const CZnTime date(COleDateTime(2024, 1, 1, 0, 0, 0).m_dt + day);
    const int second = (day * 7919) % 86400;
    const CZnTime t(date.GetYear(), date.GetMonth(), date.GetDay(), second / 3600,
                    second / 60 % 60, second % 60);
    ASSERT_TRUE(IsValid(t));
    const struct {
      int format, readBack;
      std::string prefix;
    } pairs[] = {{0, 0, ""}, {1, 1, ""}, {3, 3, ""}, {4, 0, ""}, {5, 1, ""}, {2, 2, "2001-02-03 "}};
    for (const auto& pair : pairs) {
      const std::string text = Format(t, pair.format);
      const CZnTime parsed((pair.prefix + text).c_str());
      ASSERT_TRUE(IsValid(parsed) || t.GetDay() > 12) << text;
      if (!IsValid(parsed)) continue;  // a day above 12 is no month
      ASSERT_EQ(Format(parsed, pair.readBack), text) << pair.format;
    }
  }
}

// Parsing is calendar arithmetic only: the same text gives the same value in
// every time zone, also for local times that a summer-time change skips.
TEST(ZnTimeParse, IndependentOfTheTimeZone) {
  const char* texts[] = {"2026-03-08 02:30:00", "29.03.2026 02:30:00", "20261025023000",
                         "1899-12-29 06:00:00", "1970-01-01 00:00:00"};
  const char* zones[] = {kNewYorkZone, kBerlinZone};
  double values[2][5] = {};
  for (int z = 0; z < 2; ++z) {
    ScopedTimeZone zone(zones[z]);
    for (int i = 0; i < 5; ++i) {
      const CZnTime t(texts[i]);
      ASSERT_TRUE(IsValid(t)) << texts[i];
      values[z][i] = t.m_dt;
      EXPECT_EQ(CZnTime::IsValidTimeStr(texts[i]), 1);
    }
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(values[0][i], values[1][i]) << texts[i];
  EXPECT_DOUBLE_EQ(values[0][3], -1.25);
  EXPECT_DOUBLE_EQ(values[0][4], 25569.0);
  EXPECT_DOUBLE_EQ(values[0][0], 46089.0 + 2.5 / 24);
}
