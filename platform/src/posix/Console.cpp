// Console queries over POSIX.
#include "platform/Console.h"

#include <unistd.h>

namespace platform {

bool IsTerminal(std::FILE* stream) { return stream && isatty(fileno(stream)) == 1; }

}  // namespace platform
