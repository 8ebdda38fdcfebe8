// CTime: construction from local parts and local broken-down time.
#include "platform/Time.h"

#include "platform/Clock.h"

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = dst < 0 ? -1 : (dst > 0 ? 1 : 0);
  tzset();
  const std::time_t time = std::mktime(&local);
  m_time = time == static_cast<std::time_t>(-1) ? -1 : static_cast<std::int64_t>(time);
}

CTime CTime::GetCurrentTime() {
  const std::int64_t ms = platform::CurrentTimeMs();
  return CTime(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000));
}

std::tm* CTime::GetLocalTm(std::tm* out) const {
  if (!out || !platform::LocalTimeOf(m_time, *out)) return nullptr;
  return out;
}

namespace {
template <typename Field>
int LocalPart(const CTime& time, Field field) {
  std::tm local{};
  return time.GetLocalTm(&local) ? field(local) : 0;
}
}  // namespace

int CTime::GetYear() const { return LocalPart(*this, [](const std::tm& t) { return t.tm_year + 1900; }); }
int CTime::GetMonth() const { return LocalPart(*this, [](const std::tm& t) { return t.tm_mon + 1; }); }
int CTime::GetDay() const { return LocalPart(*this, [](const std::tm& t) { return t.tm_mday; }); }
int CTime::GetHour() const { return LocalPart(*this, [](const std::tm& t) { return t.tm_hour; }); }
int CTime::GetMinute() const { return LocalPart(*this, [](const std::tm& t) { return t.tm_min; }); }
int CTime::GetSecond() const { return LocalPart(*this, [](const std::tm& t) { return t.tm_sec; }); }
int CTime::GetDayOfWeek() const { return LocalPart(*this, [](const std::tm& t) { return t.tm_wday + 1; }); }
