// What the window layer asks the operating system directly.
#pragma once

#include <string>

namespace platform::ui::backend {

// True when the process (its effective user) may read the file or list the
// folder at the native path.
bool CanRead(const std::string& nativePath);

}  // namespace platform::ui::backend
