/// @file
/// COleDateTime: the framework's date-and-time value.
#pragma once

#include <ctime>

#include "platform/OleTypes.h"
#include "platform/WinTypes.h"

/// What the part getters of COleDateTime return for a value without parts.
/// @ingroup platform_base
inline constexpr int AFX_OLE_DATETIME_ERROR = -1;

/// The framework's date-and-time value.
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
///
/// COleDateTime belongs to the platform layer (`platform_core`); ZnCore's
/// CZnTime derives from it.
/// @ingroup platform_base
class COleDateTime {
public:
  /// The status of a value.
  enum DateTimeStatus {
    valid = 0,    ///< the number is a date and time
    invalid = 1,  ///< a conversion failed; the number is left from before
    null = 2      ///< no value; only SetStatus sets it
  };

  /// Now as local time, from the platform clock (TZ honoured), to the second.
  static COleDateTime GetCurrentTime();

  /// @name Construction and assignment
  /// @{

  /// 0.0 (1899-12-30 00:00), valid.
  COleDateTime() noexcept = default;
  /// A copy of `other`, status included.
  COleDateTime(const COleDateTime& other) noexcept = default;
  /// VT_DATE as it is; VT_EMPTY as 0.0; VT_I2, VT_I4, VT_R4 and VT_R8 when the
  /// number is a date of the years 0 to 9999; anything else is invalid.
  COleDateTime(const VARIANT& value);
  /// The number as it is, valid, not checked.
  COleDateTime(DATE value) noexcept : m_dt(value) {}
  /// Seconds since 1970-01-01 00:00 UTC, taken as local time (TZ honoured);
  /// invalid (value 0.0) when the system cannot convert it or the local date
  /// lies outside the years 0 to 9999.
  COleDateTime(std::time_t time);
  /// The calendar fields; day of week and milliseconds are ignored. Invalid
  /// for fields that SetDateTime refuses.
  COleDateTime(const SYSTEMTIME& time);
  /// A UTC file time stamp, taken as local time (TZ honoured); sub-second
  /// parts are dropped. Stamps of 2^63 and above are invalid.
  COleDateTime(const FILETIME& time);
  /// SetDateTime(year, month, day, hour, minute, second): invalid (value 0.0)
  /// for a part out of range.
  COleDateTime(int year, int month, int day, int hour, int minute, int second);
  /// DosDateTimeToVariantTime; invalid (value 0.0) when it fails.
  COleDateTime(WORD dosDate, WORD dosTime);

  /// Copies `other`, status included; returns this value.
  COleDateTime& operator=(const COleDateTime& other) noexcept = default;
  /// As the VARIANT constructor; a refused VARIANT makes the value invalid
  /// and keeps the number. Returns this value.
  COleDateTime& operator=(const VARIANT& value);
  /// The number as it is, valid, not checked. Returns this value.
  COleDateTime& operator=(DATE value) noexcept;
  /// As the `time_t` constructor; a refused time makes the value invalid and
  /// keeps the number. Returns this value.
  COleDateTime& operator=(std::time_t time);
  /// As the SYSTEMTIME constructor; refused fields make the value invalid and
  /// keep the number. Returns this value.
  COleDateTime& operator=(const SYSTEMTIME& time);
  /// As the FILETIME constructor; a refused stamp makes the value invalid and
  /// keeps the number. Returns this value.
  COleDateTime& operator=(const FILETIME& time);
  /// @}

  /// @name Status
  /// @{

  /// The status: valid, invalid or null.
  DateTimeStatus GetStatus() const noexcept { return m_status; }
  /// Sets the status; the number is not touched.
  void SetStatus(DateTimeStatus status) noexcept { m_status = status; }

  /// Sets the value from year 0..9999, month 1..12, day 1..length of the
  /// month, hour 0..23, minute and second 0..59. Returns 0 and the status
  /// valid, or 1 and the status invalid (number unchanged) for anything else.
  int SetDateTime(int year, int month, int day, int hour, int minute, int second);
  /// @}

  /// @name Parts
  /// Each getter returns -1 (AFX_OLE_DATETIME_ERROR) when the value is not
  /// valid or lies outside the years 0 to 9999.
  /// @{

  /// The year, 0..9999.
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
  /// @}

  /// The stored number, whatever the status.
  operator DATE() const noexcept { return m_dt; }

  /// @name Comparison
  /// The moments the numbers stand for are compared, whatever the status.
  /// @{

  /// True for the same moment and the same status.
  bool operator==(const COleDateTime& other) const noexcept;
  /// The opposite of ==.
  bool operator!=(const COleDateTime& other) const noexcept { return !(*this == other); }
  /// True when this moment comes before `other`'s.
  bool operator<(const COleDateTime& other) const noexcept;
  /// True when this moment comes after `other`'s.
  bool operator>(const COleDateTime& other) const noexcept { return other < *this; }
  /// True when this moment does not come after `other`'s.
  bool operator<=(const COleDateTime& other) const noexcept;
  /// True when this moment does not come before `other`'s.
  bool operator>=(const COleDateTime& other) const noexcept { return other <= *this; }
  /// @}

  /// The number: days since 1899-12-30 00:00, the fraction the time of day.
  DATE m_dt = 0.0;
  /// The status of the value.
  DateTimeStatus m_status = valid;

private:
  /// Sets the value from a local broken-down time.
  void SetFromLocal(bool converted, const std::tm& local);
};
