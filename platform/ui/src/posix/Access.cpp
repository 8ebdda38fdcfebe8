#include <fcntl.h>
#include <unistd.h>

#include "../common/AccessBackend.h"

namespace platform::ui::backend {

bool CanRead(const std::string& nativePath) {
  // The effective ids decide, as for the open that follows.
  return faccessat(AT_FDCWD, nativePath.c_str(), R_OK, AT_EACCESS) == 0;
}

}  // namespace platform::ui::backend
