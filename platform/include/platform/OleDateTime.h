/// @file
/// COleDateTime: the framework's date-and-time value.
///
/// The value is a DATE (days since 1899-12-30 00:00, the fraction being the
/// time of day; before that day the integer part counts the days back and the
/// absolute value of the fraction is the time of day: -1.25 is 1899-12-29
/// 06:00) and a status. Dates are proleptic Gregorian, exact for the years 0
/// to 9999.
///
/// Rules of every member:
///  - a conversion that fails sets the status `invalid` and leaves the stored
///    number as it was; no error is raised;
///  - the getters round the value to the nearest second and return -1
///    (AFX_OLE_DATETIME_ERROR) when the status is not `valid` or the value
///    lies outside 0000-01-01 00:00:00 .. 9999-12-31 23:59:59;
///  - comparisons order the moments the values stand for, also before
///    1899-12-30, whatever the status; == also requires equal status.
#pragma once

#include <ctime>

#include "platform/OleTypes.h"
#include "platform/WinTypes.h"

inline constexpr int AFX_OLE_DATETIME_ERROR = -1;

class COleDateTime {
public:
  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  /// Now as local time, from the platform clock (TZ honoured).
  static COleDateTime GetCurrentTime();

  // --- Construction and assignment -----------------------------------------
  COleDateTime() noexcept = default;  ///< 0.0 (1899-12-30 00:00), valid
  COleDateTime(const COleDateTime& other) noexcept = default;
  /// VT_DATE as it is; VT_EMPTY as 0.0; VT_I2, VT_I4, VT_R4 and VT_R8 when the
  /// number is a date of the years 0 to 9999; anything else is invalid.
  COleDateTime(const VARIANT& value);
  COleDateTime(DATE value) noexcept : m_dt(value) {}  // valid, not checked
  /// Seconds since 1970-01-01 00:00 UTC, taken as local time (TZ honoured).
  COleDateTime(std::time_t time);
  /// The calendar fields; day of week and milliseconds are ignored.
  COleDateTime(const SYSTEMTIME& time);
  /// A UTC file time stamp, taken as local time (TZ honoured); sub-second
  /// parts are dropped. Stamps of 2^63 and above are invalid.
  COleDateTime(const FILETIME& time);
  COleDateTime(int year, int month, int day, int hour, int minute, int second);
  /// DosDateTimeToVariantTime; invalid (value 0.0) when it fails.
  COleDateTime(WORD dosDate, WORD dosTime);

  COleDateTime& operator=(const COleDateTime& other) noexcept = default;
  COleDateTime& operator=(const VARIANT& value);
  COleDateTime& operator=(DATE value) noexcept;
  COleDateTime& operator=(std::time_t time);
  COleDateTime& operator=(const SYSTEMTIME& time);
  COleDateTime& operator=(const FILETIME& time);

  // --- Status ------------------------------------------------------------------
  DateTimeStatus GetStatus() const noexcept { return m_status; }
  void SetStatus(DateTimeStatus status) noexcept { m_status = status; }

  /// Sets the value from year 0..9999, month 1..12, day 1..length of the
  /// month, hour 0..23, minute and second 0..59. Returns 0 and the status
  /// valid, or 1 and the status invalid (number unchanged) for anything else.
  int SetDateTime(int year, int month, int day, int hour, int minute, int second);

  // --- Parts (-1 when invalid or out of range) -----------------------------------
  int GetYear() const;
  int GetMonth() const;      ///< 1..12
  int GetDay() const;        ///< 1..31
  int GetHour() const;       ///< 0..23
  int GetMinute() const;     ///< 0..59
  int GetSecond() const;     ///< 0..59
  int GetDayOfWeek() const;  ///< 1 = Sunday .. 7 = Saturday
  int GetDayOfYear() const;  ///< 1 = 1 January
  /// All parts at once (wDayOfWeek 0 = Sunday, wMilliseconds 0); false, and
  /// `time` unchanged, when the value has no parts.
  bool GetAsSystemTime(SYSTEMTIME& time) const;

  operator DATE() const noexcept { return m_dt; }

  // --- Comparison ----------------------------------------------------------------
  bool operator==(const COleDateTime& other) const noexcept;
  bool operator!=(const COleDateTime& other) const noexcept { return !(*this == other); }
  bool operator<(const COleDateTime& other) const noexcept;
  bool operator>(const COleDateTime& other) const noexcept { return other < *this; }
  bool operator<=(const COleDateTime& other) const noexcept;
  bool operator>=(const COleDateTime& other) const noexcept { return other <= *this; }

  DATE m_dt = 0.0;
  DateTimeStatus m_status = valid;

private:
  /// Sets the value from a local broken-down time.
  void SetFromLocal(bool converted, const std::tm& local);
};
