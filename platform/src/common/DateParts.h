// Calendar arithmetic of the date value, shared by the date class and the DOS
// conversion: the proleptic Gregorian calendar, exact for the years 0 to 9999.
#pragma once

namespace platform::date {

// The first and last day number a date value may have: 0000-01-01 and
// 9999-12-31, counted from 1899-12-30.
inline constexpr long kFirstDay = -693959;
inline constexpr long kLastDay = 2958465;

// A date and time of day split into its calendar parts.
struct Parts {
  int year = 0;
  int month = 0;      // 1..12
  int day = 0;        // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int dayOfWeek = 0;  // 1 = Sunday .. 7 = Saturday
  int dayOfYear = 0;  // 1 = 1 January
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The date value of the parts (year 0..9999, month 1..12, day 1..month's
// length, hour 0..23, minute and second 0..59); false when one is out of range.
bool ValueFromParts(int year, int month, int day, int hour, int minute, int second,
                    double& value);

// The parts of a date value, rounded to the nearest second; false for a value
// outside 0000-01-01 00:00:00 .. 9999-12-31 23:59:59 or not a number.
bool PartsFromValue(double value, Parts& parts);

// The value on a scale that grows with time also before 1899-12-30, where the
// stored fraction counts forward while the integer part counts back.
double Linear(double value);

}  // namespace platform::date
