// Test support: faults at chosen steps, injected through the platform's
// system-call seam (the one place the backend's calls go through), for the
// tests of programs built on the platform.
#pragma once

#include <string>

namespace platform::testing {

// Ends the process at once (SIGKILL) at the `count`-th rename (or swap of
// names) that gives a file a name ending in `suffix`: a run killed just
// before a finished file would have taken its name.
void KillAtRename(const std::string& suffix, int count);
// Makes every write of bytes that contain `marker` fail with `error` (as a
// full disk fails a write), until ResetFaults.
void FailWritesContaining(const std::string& marker, int error);
// Puts the real calls back.
void ResetFaults();

}  // namespace platform::testing
