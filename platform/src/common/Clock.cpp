// The replaceable clock and the local time derived from it.
#include "platform/Clock.h"

#include <chrono>

namespace platform {
namespace {

std::int64_t SystemClock() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

ClockFunction g_clock = SystemClock;

}  // namespace

std::int64_t CurrentTimeMs() { return g_clock(); }

ClockFunction SetClock(ClockFunction clock) {
  ClockFunction previous = g_clock;
  g_clock = clock ? clock : SystemClock;
  return previous;
}

}  // namespace platform

void GetLocalTime(SYSTEMTIME* time) {
  if (!time) return;
  const std::int64_t ms = platform::CurrentTimeMs();
  // Floor division, so times before 1970 keep a positive millisecond part.
  std::int64_t seconds = ms / 1000;
  std::int64_t millis = ms % 1000;
  if (millis < 0) {
    millis += 1000;
    --seconds;
  }
  std::tm local{};
  if (!platform::LocalTimeOf(seconds, local)) local = std::tm{};
  time->wYear = static_cast<WORD>(local.tm_year + 1900);
  time->wMonth = static_cast<WORD>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time->wDay = static_cast<WORD>(local.tm_mday);
  time->wHour = static_cast<WORD>(local.tm_hour);
  time->wMinute = static_cast<WORD>(local.tm_min);
  time->wSecond = static_cast<WORD>(local.tm_sec);
  time->wMilliseconds = static_cast<WORD>(millis);
}
