// The DOS date and time words of file systems and archives as a date value.
#include "DateParts.h"
#include "platform/OleTypes.h"

int DosDateTimeToVariantTime(WORD dosDate, WORD dosTime, double* result) {
  if (!result) return FALSE;
  const int year = 1980 + (dosDate >> 9);
  const int month = (dosDate >> 5) & 0x0F;
  const int day = dosDate & 0x1F;
  const int hour = dosTime >> 11;
  const int minute = (dosTime >> 5) & 0x3F;
  // The word keeps seconds in units of two: odd seconds do not exist.
  const int second = (dosTime & 0x1F) * 2;
  // A field out of range is refused instead of rolled into a neighbouring
  // date: such words do not come from a file system and name no real time.
  double value = 0.0;
  if (!platform::date::ValueFromParts(year, month, day, hour, minute, second, value)) {
    return FALSE;
  }
  *result = value;
  return TRUE;
}
