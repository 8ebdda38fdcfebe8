/// @file
/// CZnTime: ZnCore's date-and-time value.
#pragma once

#include "platform/OleDateTime.h"
#include "platform/Time.h"
#include "zncore/ZnString.h"

/// ZnCore's date-and-time value.
///
/// A COleDateTime (days since 1899-12-30 plus a status) with constructors from
/// a count of units, from text and from DOS words, six fixed text layouts,
/// parsing in three layouts, German and English day names, a week number,
/// "total" counters in a 360-day calendar and interval tests. It adds no data
/// and no virtual member, so it converts freely to and from COleDateTime.
///
/// Conventions of every member:
///  - a date the base refuses leaves the status invalid, without a message;
///  - the 360-day calendar has 12 months of 30 days of 24 hours of 60
///    minutes of 60 seconds;
///  - unit codes: 1 minutes, 2 hours, 3 days, 4 months, 5 years, any other
///    value seconds;
///  - day numbers are 1 (Sunday) to 7 (Saturday) unless a shift says else;
///  - texts are read at fixed character positions; a position at or beyond
///    the end of the text reads as empty, so a missing part counts as 0.
/// @ingroup zncore_time
class CZnTime : public COleDateTime {
public:
  /// @name Construction
  /// @{

  /// 0.0 (1899-12-30 00:00), valid.
  CZnTime() noexcept = default;
  /// A copy of `other`, status included.
  CZnTime(const CZnTime& other) noexcept = default;
  /// A copy of the framework value `other`, status included.
  CZnTime(const COleDateTime& other) noexcept : COleDateTime(other) {}
  /// As COleDateTime's VARIANT constructor: VT_DATE, VT_EMPTY and numbers
  /// that are dates of the years 0 to 9999; anything else is invalid.
  CZnTime(const VARIANT& value) : COleDateTime(value) {}
  /// The calendar fields (day of week and milliseconds ignored); invalid for
  /// fields out of range.
  CZnTime(const SYSTEMTIME& time) : COleDateTime(time) {}
  /// A UTC file time stamp, taken as local time (TZ honoured), to the second;
  /// stamps of 2^63 and above are invalid.
  CZnTime(const FILETIME& time) : COleDateTime(time) {}
  /// A `time_t` (seconds since 1970-01-01 00:00 UTC), taken as local time;
  /// invalid when it cannot be converted or lies outside the years 0 to 9999.
  CZnTime(long time) : COleDateTime(static_cast<std::time_t>(time)) {}
  /// The number as it is (days since 1899-12-30), valid, not checked.
  CZnTime(double value) noexcept : COleDateTime(value) {}
  /// The date and time from its parts (year 0..9999, month 1..12, day
  /// 1..length of the month, hour 0..23, minute and second 0..59); invalid at
  /// 0.0 for a part out of range.
  CZnTime(int year, int month, int day, int hour, int minute, int second)
      : COleDateTime(year, month, day, hour, minute, second) {}
  /// Valid when both words hold a real date and time, else invalid at 0.0.
  CZnTime(unsigned short dosDate, unsigned short dosTime) : COleDateTime(dosDate, dosTime) {}
  /// The local date and time of `time` (TZ honoured); invalid when the system
  /// cannot represent it or it lies outside the years 0 to 9999.
  CZnTime(CTime time);
  /// 0.0 followed by SetTimeBy(count, unit).
  CZnTime(long count, int unit);
  /// 0.0 followed by SetTimeFromString(text).
  CZnTime(const char* text);

  /// Copies `other`, status included; returns this value.
  CZnTime& operator=(const CZnTime& other) noexcept = default;
  /// @}

  /// @name Setting
  /// @{

  /// Splits `count` units into year, month, day, hour, minute and second of
  /// the 360-day calendar (truncating toward zero) and sets exactly those
  /// parts: no part is shifted by one, so a month or day of 0 (90 minutes,
  /// 2026 years) leaves the value invalid, as does a negative count. A count
  /// of months or of years always does: its day (or month) part is 0.
  void SetTimeBy(long count, int unit);
  /// Reads "YYYY-MM-DD hh:mm:ss" when the text has a '-', else
  /// "DD.MM.YYYY hh:mm:ss" when it has a '.', else "YYYYMMDDhhmmss"; the
  /// separators are not checked. Each part is a decimal number (leading
  /// blanks skipped, an optional sign, stops at the first non-digit, no
  /// digits give 0). A null text reads as empty. Parts the base refuses
  /// (a missing date among them) leave the value invalid.
  void SetTimeFromString(const char* text);
  /// 1 when the parts read as above lie in year 1..2060, month 1..12, day
  /// 1..31, hour 0..24, minute and second 0..59, else 0. The day is not
  /// checked against the month, and hour 24 passes although it cannot be set.
  static int IsValidTimeStr(const char* text);
  /// @}

  /// @name Text
  /// @{

  /// Formats the value into `buffer` and returns a copy of it:
  ///  1 "DD.MM.YYYY", 2 "hh:mm:ss", 3 "YYYYMMDDhhmmss" with the day padded
  ///  by a blank (" 5"), 4 "MM.DD.YYYY hh:mm:ss", 5 "MM.DD.YYYY", any other
  ///  "DD.MM.YYYY hh:mm:ss". An invalid value prints its parts as -1.
  CZnString GetTimeAsString(CZnString& buffer, int format) const;
  /// @}

  /// @name Days and weeks
  /// @{

  /// COleDateTime's weekday: 1 = Sunday .. 7 = Saturday, -1 for a value
  /// without parts.
  using COleDateTime::GetDayOfWeek;
  /// The weekday counted from a chosen first day: (weekday + shift - 1) mod
  /// 7, with 0 read as 7. Shift 1 gives 1 Sunday .. 7 Saturday, each further
  /// step starts one day earlier, shift 7 gives 1 Monday .. 7 Sunday. One
  /// less when `zeroBased` is set. -1 when the shift is outside 1..7 or the
  /// value has no weekday.
  int GetDayOfWeek(int shift, int zeroBased) const;
  /// The day's name: German short ("So."), German long ("Sonntag"), English
  /// short ("Su.") or English long ("Sunday"), chosen by the two flags.
  /// "" when the value has no weekday. The text is static.
  const char* GetDayOfWeekStr(int shortForm, int german) const;
  /// 1 when the mask holds 'J' or 'j' at the position of the value's weekday
  /// (1 Sunday .. 7 Saturday; position 0 is never read, so a full mask has 8
  /// characters), else 0. Positions beyond the end of the mask, a null mask
  /// and a value without a weekday count as not set.
  int CheckDayOfWeek(const char* mask) const;
  /// The same for today's local date, from the platform clock.
  static int CheckCurrentDayOfWeek(const char* mask);
  /// Weeks run from Monday to Sunday; week 1 is the week holding 1 January,
  /// so the last days of a year may be in week 53 or 54. -1 when the value
  /// has no date.
  int GetWeekOfYear() const;
  /// @}

  /// @name Totals in the 360-day calendar
  /// 32-bit counters that wrap silently. A value without parts counts each
  /// part as -1 (GetTotalMonths then gives -13).
  /// @{

  int GetTotalMonths() const;   ///< 12*year + month
  int GetTotalDays() const;     ///< 360*year + 30*month + day
  int GetTotalHours() const;    ///< 24*GetTotalDays() + hour
  /// 60*GetTotalHours() + minute; wraps from 4142-06-08 02:08 on.
  int GetTotalMinutes() const;
  /// 60*GetTotalMinutes() + second; wraps from 0068-12-15 03:14:08 on, so for
  /// every date of our era the result is the wrapped count.
  int GetTotalSeconds() const;
  /// @}

  /// @name Intervals
  /// @{

  /// 1 when from <= value <= to (as moments, whatever the status), else 0.
  int IsInTimeArea(CZnTime from, CZnTime to) const;
  /// 1 when the value lies at least `minutes` total minutes after `last`, or
  /// exactly as many total minutes as `last`; else 0. `other` has no effect.
  int IsTimePeriodReached(CZnTime last, CZnTime other, int minutes) const;
  /// Reserved: returns the value unchanged.
  CZnTime& Inc(long count);
  /// Reserved: returns an unchanged copy of the value.
  CZnTime Dec(long count);
  /// @}

  /// @name Day-name tables
  /// @{

  /// One day's names, each zero-terminated in a fixed field (32 bytes).
  struct DayName {
    char szShortGerman[4];    ///< German short form: "Mo.", "Di.", ... "So."
    char szLongGerman[12];    ///< German long form: "Montag" ... "Sonntag"
    char szShortEnglish[4];   ///< English short form: "Mo.", "Tu.", ... "Su."
    char szLongEnglish[12];   ///< English long form: "Monday" ... "Sunday"
  };
  /// The seven days from Monday (index 0) to Sunday (index 6).
  static const DayName m_aDayNamesFromMonday[7];
  /// The seven days from Sunday (index 0) to Saturday (index 6).
  static const DayName m_aDayNamesFromSunday[7];
  /// @}
};
