// COleDateTime: conversions, parts and comparisons of the date value.
#include "platform/OleDateTime.h"

#include <cstdint>

#include "DateParts.h"
#include "platform/Clock.h"

namespace {

// A number of a VARIANT is a date only when it has calendar parts.
bool IsDateNumber(double value) {
  platform::date::Parts parts;
  return platform::date::PartsFromValue(value, parts);
}

// -1 stands for "no parts" in every getter.
template <typename Field>
int PartOf(const COleDateTime& value, Field field) {
  platform::date::Parts parts;
  if (value.GetStatus() != COleDateTime::valid ||
      !platform::date::PartsFromValue(value.m_dt, parts)) {
    return AFX_OLE_DATETIME_ERROR;
  }
  return field(parts);
}

}  // namespace

COleDateTime COleDateTime::GetCurrentTime() {
  const std::int64_t ms = platform::CurrentTimeMs();
  // Floor division: a moment before 1970 belongs to the earlier second.
  const std::int64_t seconds = ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
  return COleDateTime(static_cast<std::time_t>(seconds));
}

COleDateTime::COleDateTime(const VARIANT& value) { *this = value; }
COleDateTime::COleDateTime(std::time_t time) { *this = time; }
COleDateTime::COleDateTime(const SYSTEMTIME& time) { *this = time; }
COleDateTime::COleDateTime(const FILETIME& time) { *this = time; }

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) {
  SetDateTime(year, month, day, hour, minute, second);
}

COleDateTime::COleDateTime(WORD dosDate, WORD dosTime) {
  m_status = DosDateTimeToVariantTime(dosDate, dosTime, &m_dt) ? valid : invalid;
}

COleDateTime& COleDateTime::operator=(const VARIANT& value) {
  double number = 0.0;
  switch (value.vt) {
    case VT_DATE: m_dt = value.date; m_status = valid; return *this;
    case VT_EMPTY: m_dt = 0.0; m_status = valid; return *this;
    case VT_I2: number = value.iVal; break;
    case VT_I4: number = value.lVal; break;
    case VT_R4: number = value.fltVal; break;
    case VT_R8: number = value.dblVal; break;
    default: m_status = invalid; return *this;
  }
  if (!IsDateNumber(number)) {
    m_status = invalid;
    return *this;
  }
  m_dt = number;
  m_status = valid;
  return *this;
}

COleDateTime& COleDateTime::operator=(DATE value) noexcept {
  m_dt = value;
  m_status = valid;
  return *this;
}

COleDateTime& COleDateTime::operator=(std::time_t time) {
  std::tm local{};
  SetFromLocal(platform::LocalTimeOf(static_cast<std::int64_t>(time), local), local);
  return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& time) {
  SetDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
  return *this;
}

COleDateTime& COleDateTime::operator=(const FILETIME& time) {
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  if (ticks > static_cast<std::uint64_t>(INT64_MAX)) {
    m_status = invalid;
    return *this;
  }
  // 1601-01-01 lies 11644473600 seconds before 1970-01-01.
  const std::int64_t unixSeconds = static_cast<std::int64_t>(ticks / 10000000) - 11644473600LL;
  std::tm local{};
  SetFromLocal(platform::LocalTimeOf(unixSeconds, local), local);
  return *this;
}

void COleDateTime::SetFromLocal(bool converted, const std::tm& local) {
  // The year is checked before 1900 is added, which could overflow.
  if (!converted || local.tm_year < -1900 || local.tm_year > 9999 - 1900) {
    m_status = invalid;
    return;
  }
  SetDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
              local.tm_min, local.tm_sec);
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
  const bool ok = platform::date::ValueFromParts(year, month, day, hour, minute, second, m_dt);
  m_status = ok ? valid : invalid;
  return ok ? 0 : 1;
}

int COleDateTime::GetYear() const { return PartOf(*this, [](const auto& p) { return p.year; }); }
int COleDateTime::GetMonth() const { return PartOf(*this, [](const auto& p) { return p.month; }); }
int COleDateTime::GetDay() const { return PartOf(*this, [](const auto& p) { return p.day; }); }
int COleDateTime::GetHour() const { return PartOf(*this, [](const auto& p) { return p.hour; }); }
int COleDateTime::GetMinute() const { return PartOf(*this, [](const auto& p) { return p.minute; }); }
int COleDateTime::GetSecond() const { return PartOf(*this, [](const auto& p) { return p.second; }); }
int COleDateTime::GetDayOfWeek() const {
  return PartOf(*this, [](const auto& p) { return p.dayOfWeek; });
}
int COleDateTime::GetDayOfYear() const {
  return PartOf(*this, [](const auto& p) { return p.dayOfYear; });
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& time) const {
  platform::date::Parts p;
  if (m_status != valid || !platform::date::PartsFromValue(m_dt, p)) return false;
  time.wYear = static_cast<WORD>(p.year);
  time.wMonth = static_cast<WORD>(p.month);
  time.wDayOfWeek = static_cast<WORD>(p.dayOfWeek - 1);
  time.wDay = static_cast<WORD>(p.day);
  time.wHour = static_cast<WORD>(p.hour);
  time.wMinute = static_cast<WORD>(p.minute);
  time.wSecond = static_cast<WORD>(p.second);
  time.wMilliseconds = 0;
  return true;
}

// Before 1899-12-30 the stored numbers do not grow with time (-1.25 is later
// than -1.0), so values are compared on a continuous scale.
bool COleDateTime::operator==(const COleDateTime& other) const noexcept {
  return m_status == other.m_status &&
         platform::date::Linear(m_dt) == platform::date::Linear(other.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& other) const noexcept {
  return platform::date::Linear(m_dt) < platform::date::Linear(other.m_dt);
}

bool COleDateTime::operator<=(const COleDateTime& other) const noexcept {
  return platform::date::Linear(m_dt) <= platform::date::Linear(other.m_dt);
}
