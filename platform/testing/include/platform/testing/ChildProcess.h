// Test support: runs a program as a process of its own and tells how it
// ended, for tests that kill a run half-way.
#pragma once

#include <string>
#include <vector>

namespace platform::testing {

struct ChildEnd {
  bool killed = false;  // ended by a signal
  int signal = 0;       // which one, when killed
  int exitCode = -1;    // its exit code, when not killed
};

// Starts `program` with `arguments` (without the program's name), waits for
// it and returns how it ended.
ChildEnd RunChild(const std::string& program, const std::vector<std::string>& arguments);

// The number of the signal that kills a process without a chance to react.
int KillSignal();

}  // namespace platform::testing
