// Test support for the file family's errors.
#pragma once

#include "platform/File.h"

namespace platform::testing {

// The file error an action raises; one with cause none when it raises none.
template <typename Action>
CFileException ErrorOf(Action action) {
  try {
    action();
  } catch (CFileException& error) {
    return error;
  }
  return CFileException(CFileException::none, 0);
}

}  // namespace platform::testing
