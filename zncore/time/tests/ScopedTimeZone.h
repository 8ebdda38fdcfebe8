// Sets TZ for a test's lifetime and puts the previous setting back.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ScopedTimeZone {
public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) m_old = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (m_old) setenv("TZ", m_old->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
  std::optional<std::string> m_old;
};

// Eastern and Central European time with their summer rules, written out so
// that no time-zone database is needed.
inline constexpr const char* kNewYorkZone = "EST5EDT,M3.2.0,M11.1.0";
inline constexpr const char* kBerlinZone = "CET-1CEST,M3.5.0,M10.5.0/3";
