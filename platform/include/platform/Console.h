// Console queries for command-line programs.
#pragma once

#include <cstdio>

namespace platform {

// True when the stream writes to a terminal (progress lines make sense).
bool IsTerminal(std::FILE* stream);

// Calls `handler` when the user interrupts the program (Ctrl+C) or the
// system asks it to end, once: a second interrupt ends the program at once.
// The handler runs in the middle of whatever the program does, so it may
// only set an atomic flag. A null handler restores the default.
void OnInterrupt(void (*handler)());

}  // namespace platform
