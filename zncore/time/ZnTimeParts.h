// The calendar parts of a CZnTime as its text and total members use them.
#pragma once

#include "platform/OleDateTime.h"

namespace zncore::time {

struct Parts {
  int year, month, day, hour, minute, second;
};

// The value's parts in one split; every part is -1 (as each getter of the
// base gives) when the value has no parts.
inline Parts PartsOf(const COleDateTime& value) {
  SYSTEMTIME st{};
  if (!value.GetAsSystemTime(st)) return {-1, -1, -1, -1, -1, -1};
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace zncore::time
