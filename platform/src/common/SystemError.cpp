// The last OS error as the thread's errno, and its message text.
#include "platform/SystemError.h"

#include <cerrno>
#include <limits>

#include "FileBackend.h"

DWORD GetLastError() { return static_cast<DWORD>(errno); }

void SetLastError(DWORD code) { errno = static_cast<int>(code); }

namespace platform {

std::string SystemErrorText(DWORD code) {
  if (code > static_cast<DWORD>(std::numeric_limits<int>::max())) return {};
  return backend::ErrorText(static_cast<int>(code));
}

}  // namespace platform
