// CTime: a point in time as seconds since 1970-01-01 00:00 UTC.
#pragma once

#include <compare>
#include <cstdint>
#include <ctime>

class CTime {
public:
  CTime() noexcept = default;
  CTime(std::int64_t secondsSince1970) noexcept : m_time(secondsSince1970) {}
  // A local date and time (TZ honoured); `dst` < 0 lets the system decide.
  CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

  // Now, from the platform clock.
  static CTime GetCurrentTime();

  std::int64_t GetTime() const noexcept { return m_time; }
  // The local broken-down time into `out`; null when the system cannot
  // represent it.
  std::tm* GetLocalTm(std::tm* out) const;

  // Parts of the local time; 0 when it cannot be represented.
  int GetYear() const;
  int GetMonth() const;      // 1..12
  int GetDay() const;        // 1..31
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

  friend auto operator<=>(const CTime&, const CTime&) = default;

private:
  std::int64_t m_time = 0;
};
