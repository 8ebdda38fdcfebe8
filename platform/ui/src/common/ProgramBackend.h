// Starting a program, as the operating system does it.
#pragma once

#include <string>

namespace platform::ui::backend {

// True when the native path names a regular file the process (its
// effective user) may execute.
bool IsExecutableFile(const std::string& nativePath);

// Starts the program at the native path with its path as its only
// argument, detached from this process (never waited for, never left as a
// zombie). 0 when the program runs, else the errno value of the failure.
int StartProgram(const std::string& nativePath);

}  // namespace platform::ui::backend
