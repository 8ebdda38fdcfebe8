// Proleptic Gregorian day numbers and the split of a date value into parts.
#include "DateParts.h"

#include <cmath>

namespace platform::date {
namespace {

constexpr long kSecondsPerDay = 86400;
// Days before the first of each month in a common year.
constexpr int kDaysBeforeMonth[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// Days from 0000-01-01 to the first of January of `year` (year >= 0; the
// year 0 is a leap year, as every fourth hundred is).
long DaysBeforeYear(long year) {
  return 365 * year + (year + 3) / 4 - (year + 99) / 100 + (year + 399) / 400;
}

// 1899-12-30, day 0 of the date value, counted from 0000-01-01.
const long kEpoch = -kFirstDay;

int DaysBeforeMonth(int year, int month) {
  return kDaysBeforeMonth[month - 1] + (month > 2 && IsLeapYear(year) ? 1 : 0);
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kLength[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool ValueFromParts(int year, int month, int day, int hour, int minute, int second,
                    double& value) {
  if (year < 0 || year > 9999 || month < 1 || month > 12) return false;
  if (day < 1 || day > DaysInMonth(year, month)) return false;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return false;
  }
  const long serial = DaysBeforeYear(year) + DaysBeforeMonth(year, month) + day - 1 - kEpoch;
  const double time = (hour * 3600 + minute * 60 + second) / double(kSecondsPerDay);
  // Before day 0 the time of day is stored with the sign of the day number.
  value = static_cast<double>(serial) + (serial >= 0 ? time : -time);
  return true;
}

bool PartsFromValue(double value, Parts& parts) {
  if (!std::isfinite(value) || std::fabs(value) > kLastDay + 2.0) return false;
  // Rounding the whole magnitude rounds the time of day to the nearest
  // second and carries a full day into the day number.
  const long long seconds = std::llround(std::fabs(value) * kSecondsPerDay);
  const long magnitude = static_cast<long>(seconds / kSecondsPerDay);
  const long serial = value < 0 ? -magnitude : magnitude;
  if (serial < kFirstDay || serial > kLastDay) return false;
  const int secondOfDay = static_cast<int>(seconds % kSecondsPerDay);
  parts.hour = secondOfDay / 3600;
  parts.minute = secondOfDay / 60 % 60;
  parts.second = secondOfDay % 60;

  const long days = serial + kEpoch;  // since 0000-01-01
  long year = days * 400 / 146097;
  while (DaysBeforeYear(year + 1) <= days) ++year;
  while (DaysBeforeYear(year) > days) --year;
  parts.year = static_cast<int>(year);
  parts.dayOfYear = static_cast<int>(days - DaysBeforeYear(year)) + 1;
  int month = 12;
  while (DaysBeforeMonth(parts.year, month) >= parts.dayOfYear) --month;
  parts.month = month;
  parts.day = parts.dayOfYear - DaysBeforeMonth(parts.year, month);
  // Day 0 was a Saturday.
  parts.dayOfWeek = static_cast<int>(((serial % 7) + 13) % 7) + 1;
  return true;
}

double Linear(double value) {
  if (!(value < 0)) return value;
  const double whole = std::ceil(value);
  return whole - (value - whole);
}

}  // namespace platform::date
