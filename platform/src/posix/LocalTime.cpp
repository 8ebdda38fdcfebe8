// Local time conversion with the system's time-zone rules (TZ honoured).
#include <atomic>
#include <ctime>

#include "platform/Clock.h"

namespace platform {
namespace {

// Number of ScopedLocalZone objects alive: while there is one, the rules
// read when the first was made stay in force.
std::atomic<int> g_zoneHolds{0};

}  // namespace

bool LocalTimeOf(std::int64_t unixSeconds, std::tm& local) {
  const std::time_t time = static_cast<std::time_t>(unixSeconds);
  if (g_zoneHolds.load() == 0) tzset();
  return localtime_r(&time, &local) != nullptr;
}

ScopedLocalZone::ScopedLocalZone() {
  if (g_zoneHolds.fetch_add(1) == 0) tzset();
}

ScopedLocalZone::~ScopedLocalZone() { g_zoneHolds.fetch_sub(1); }

}  // namespace platform
