// The calling thread's last OS error and the system's text for an error code.
// On POSIX the last error is the thread's `errno`: every failing platform call
// leaves its cause there, and file errors set it again just before they are
// raised, so a handler that asks at once reads the code of its own failure.
#pragma once

#include <string>

#include "platform/WinTypes.h"

// The calling thread's last OS error code (errno).
DWORD GetLastError();
void SetLastError(DWORD code);

namespace platform {

// The system's message for an error code, in the user's language, as the
// system gives it (no line break is added); "" when the system knows no
// message for the code.
std::string SystemErrorText(DWORD code);

}  // namespace platform
