// Local time conversion with the system's time-zone rules (TZ honoured).
#include <ctime>

#include "platform/Clock.h"

namespace platform {

bool LocalTimeOf(std::int64_t unixSeconds, std::tm& local) {
  const std::time_t time = static_cast<std::time_t>(unixSeconds);
  tzset();
  return localtime_r(&time, &local) != nullptr;
}

}  // namespace platform
