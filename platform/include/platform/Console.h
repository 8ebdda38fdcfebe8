// Console queries for command-line programs.
#pragma once

#include <cstdio>

namespace platform {

// True when the stream writes to a terminal (progress lines make sense).
bool IsTerminal(std::FILE* stream);

}  // namespace platform
