// The automation types a date value travels in: DATE (days since 30 December
// 1899, the fraction being the time of day), FILETIME (a file system time
// stamp) and a minimal VARIANT that can hold a date or a number, plus the
// conversion of a DOS date and time word pair to a DATE.
#pragma once

#include "platform/WinTypes.h"

// Days since 1899-12-30 00:00. Before that day the integer part counts the
// days back and the absolute value of the fraction is the time of day, so
// -1.25 is 1899-12-29 06:00.
using DATE = double;

// 100-nanosecond intervals since 1601-01-01 00:00 UTC.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

// The kinds of value a VARIANT of this port can hold.
using VARTYPE = unsigned short;
enum VARENUM : VARTYPE {
  VT_EMPTY = 0,  // no value; converts to the date 0.0
  VT_NULL = 1,   // the database null; converts to no date
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_DATE = 7,
};

// A tagged value: `vt` names the member of the union that is set.
struct VARIANT {
  VARTYPE vt = VT_EMPTY;
  union {
    short iVal;
    LONG lVal;
    float fltVal;
    double dblVal;
    DATE date = 0.0;
  };
};

// Converts a DOS date word (bits 0-4 day, 5-8 month, 9-15 years since 1980)
// and time word (bits 0-4 seconds / 2, 5-10 minute, 11-15 hour) to a DATE.
// Returns TRUE and sets *result, or FALSE (leaving *result alone) when a
// field is out of its range (month 1..12, day 1..length of the month, hour
// 0..23, minute 0..59, seconds 0..58) or `result` is null.
int DosDateTimeToVariantTime(WORD dosDate, WORD dosTime, double* result);
