// CZnTime: weekdays, day names, weekday masks and the week of the year.
#include "platform/Clock.h"
#include "zncore/ZnTime.h"

const CZnTime::DayName CZnTime::m_aDayNamesFromMonday[7] = {
    {"Mo.", "Montag", "Mo.", "Monday"},       {"Di.", "Dienstag", "Tu.", "Tuesday"},
    {"Mi.", "Mittwoch", "We.", "Wednesday"},  {"Do.", "Donnerstag", "Th.", "Thursday"},
    {"Fr.", "Freitag", "Fr.", "Friday"},      {"Sa.", "Samstag", "Sa.", "Saturday"},
    {"So.", "Sonntag", "Su.", "Sunday"},
};

const CZnTime::DayName CZnTime::m_aDayNamesFromSunday[7] = {
    {"So.", "Sonntag", "Su.", "Sunday"},      {"Mo.", "Montag", "Mo.", "Monday"},
    {"Di.", "Dienstag", "Tu.", "Tuesday"},    {"Mi.", "Mittwoch", "We.", "Wednesday"},
    {"Do.", "Donnerstag", "Th.", "Thursday"}, {"Fr.", "Freitag", "Fr.", "Friday"},
    {"Sa.", "Samstag", "Sa.", "Saturday"},
};

namespace {

// True when `mask` holds 'J' or 'j' at position `day` (1..7). The mask is
// read only up to its terminator.
bool MaskHasDay(const char* mask, int day) {
  if (!mask || day < 1 || day > 7) return false;
  for (int i = 0; i < day; ++i) {
    if (mask[i] == '\0') return false;
  }
  return mask[day] == 'J' || mask[day] == 'j';
}

}  // namespace

int CZnTime::GetDayOfWeek(int shift, int zeroBased) const {
  if (shift < 1 || shift > 7) return -1;
  // An invalid value has no weekday; renumbering its -1 would make one up.
  const int weekday = GetDayOfWeek();
  if (weekday < 1) return -1;
  int day = (weekday + shift - 1) % 7;
  if (day == 0) day = 7;
  return zeroBased ? day - 1 : day;
}

const char* CZnTime::GetDayOfWeekStr(int shortForm, int german) const {
  const int day = GetDayOfWeek(1, 0);
  if (day < 1) return "";
  const DayName& name = m_aDayNamesFromSunday[day - 1];
  if (german) return shortForm ? name.szShortGerman : name.szLongGerman;
  return shortForm ? name.szShortEnglish : name.szLongEnglish;
}

int CZnTime::CheckDayOfWeek(const char* mask) const {
  return MaskHasDay(mask, GetDayOfWeek(1, 0)) ? 1 : 0;
}

int CZnTime::CheckCurrentDayOfWeek(const char* mask) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return MaskHasDay(mask, now.wDayOfWeek + 1) ? 1 : 0;
}

int CZnTime::GetWeekOfYear() const {
  const int dayOfYear = GetDayOfYear();
  if (dayOfYear < 1) return -1;
  // Days of week 1: from 1 January up to its Sunday.
  const int firstWeekday = CZnTime(GetYear(), 1, 1, 0, 0, 0).GetDayOfWeek(7, 0);
  const int firstWeekDays = 8 - firstWeekday;
  const int n = dayOfYear + 7 - firstWeekDays;
  return n / 7 + (n % 7 != 0 ? 1 : 0);
}
