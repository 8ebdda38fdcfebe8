// CZnTime: construction, the 360-day unit arithmetic, totals and intervals.
#include "zncore/ZnTime.h"

#include <climits>
#include <cstdint>

#include "ZnTimeParts.h"

namespace {

// Seconds of the 360-day calendar's units.
constexpr long kMinute = 60;
constexpr long kHour = 60 * kMinute;
constexpr long kDay = 24 * kHour;
constexpr long kMonth = 30 * kDay;
constexpr long kYear = 12 * kMonth;

// The totals are 32-bit counters that wrap; unsigned arithmetic wraps
// without undefined behaviour and the conversion back is modular.
int Wrap(std::uint32_t value) { return static_cast<int>(value); }
std::uint32_t U(int value) { return static_cast<std::uint32_t>(value); }

}  // namespace

CZnTime::CZnTime(CTime time) {
  std::tm local{};
  // The year is checked before 1900 is added, which could overflow.
  if (!time.GetLocalTm(&local) || local.tm_year < -1900 || local.tm_year > 9999 - 1900) {
    SetStatus(invalid);
    return;
  }
  SetDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
              local.tm_sec);
}

CZnTime::CZnTime(long count, int unit) { SetTimeBy(count, unit); }

CZnTime::CZnTime(const char* text) { SetTimeFromString(text); }

void CZnTime::SetTimeBy(long count, int unit) {
  // Each unit's count expressed in seconds would overflow for large counts,
  // so the split is made in the unit itself: `per` is how many of the unit
  // make one year, month, day, hour and minute (0 where the unit is larger).
  struct Split {
    long year, month, day, hour, minute;
  };
  Split per{};
  switch (unit) {
    case 1: per = {kYear / kMinute, kMonth / kMinute, kDay / kMinute, kHour / kMinute, 1}; break;
    case 2: per = {kYear / kHour, kMonth / kHour, kDay / kHour, 1, 0}; break;
    case 3: per = {kYear / kDay, kMonth / kDay, 1, 0, 0}; break;
    case 4: per = {12, 1, 0, 0, 0}; break;
    case 5: per = {1, 0, 0, 0, 0}; break;
    default: per = {kYear, kMonth, kDay, kHour, kMinute}; break;
  }
  long rest = count;
  auto take = [&rest](long size) {
    if (size == 0) return 0L;
    const long part = rest / size;
    rest %= size;
    return part;
  };
  const long year = take(per.year);
  const long month = take(per.month);
  const long day = take(per.day);
  const long hour = take(per.hour);
  const long minute = take(per.minute);
  const long second = rest;  // 0 for every unit of a minute or more
  // A count of more years than an int holds is no date; narrowing it would
  // wrap it into one.
  if (year < INT_MIN || year > INT_MAX) {
    SetStatus(invalid);
    return;
  }
  SetDateTime(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day),
              static_cast<int>(hour), static_cast<int>(minute), static_cast<int>(second));
}

int CZnTime::GetTotalMonths() const {
  const zncore::time::Parts p = zncore::time::PartsOf(*this);
  return Wrap(12u * U(p.year) + U(p.month));
}

int CZnTime::GetTotalDays() const {
  const zncore::time::Parts p = zncore::time::PartsOf(*this);
  return Wrap(360u * U(p.year) + 30u * U(p.month) + U(p.day));
}

int CZnTime::GetTotalHours() const {
  return Wrap(24u * U(GetTotalDays()) + U(zncore::time::PartsOf(*this).hour));
}

int CZnTime::GetTotalMinutes() const {
  return Wrap(60u * U(GetTotalHours()) + U(zncore::time::PartsOf(*this).minute));
}

int CZnTime::GetTotalSeconds() const {
  return Wrap(60u * U(GetTotalMinutes()) + U(zncore::time::PartsOf(*this).second));
}

int CZnTime::IsInTimeArea(CZnTime from, CZnTime to) const {
  return from <= *this && *this <= to ? 1 : 0;
}

int CZnTime::IsTimePeriodReached(CZnTime last, CZnTime /*other*/, int minutes) const {
  const int passed = Wrap(U(GetTotalMinutes()) - U(last.GetTotalMinutes()));
  return passed >= minutes || passed == 0 ? 1 : 0;
}

CZnTime& CZnTime::Inc(long /*count*/) { return *this; }

CZnTime CZnTime::Dec(long /*count*/) { return *this; }
