// The one source of the current date and time. Tests replace it to get fixed
// dates in page texts; TZ is honoured when a time is turned into local time.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/WinTypes.h"

namespace platform {

// Milliseconds since 1970-01-01 00:00 UTC.
std::int64_t CurrentTimeMs();

// Replaces the clock; null puts the system clock back. Returns the previous one.
using ClockFunction = std::int64_t (*)();
ClockFunction SetClock(ClockFunction clock);

// The local broken-down time of a count of seconds since 1970 (TZ honoured);
// false when the system cannot represent it.
bool LocalTimeOf(std::int64_t unixSeconds, std::tm& local);

// Each LocalTimeOf reads the time-zone rules afresh (TZ, or the system's zone
// file, which the C library checks with a status query every time). While a
// ScopedLocalZone lives, the rules read when it was made are used instead:
// a run that stamps thousands of pages checks the zone once. Objects may
// nest; the first one reads the rules.
class ScopedLocalZone {
public:
  ScopedLocalZone();
  ~ScopedLocalZone();
  ScopedLocalZone(const ScopedLocalZone&) = delete;
  ScopedLocalZone& operator=(const ScopedLocalZone&) = delete;
};

}  // namespace platform

// The current local date and time, from the clock above.
void GetLocalTime(SYSTEMTIME* time);
