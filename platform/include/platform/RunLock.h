// RunLock: one run of a program at a time per folder tree, with a lock no
// other user can hold.
//
//   platform::RunLock lock = platform::RunLock::Acquire(top, "ombral");
//   if (!lock.IsHeld()) ...  // Error() == EWOULDBLOCK: another run holds it
//
// The lock is a file of the running user's own, named by the top folder's
// device and inode, in a folder only that user may write: the user's runtime
// folder ($XDG_RUNTIME_DIR/<program>), for the administrator /run/<program>,
// else ~/.cache/<program> or /tmp/<program>-<user id>, each used only when it
// is a real folder (no link) of the user that nobody else may write. A lock
// on the scanned folder itself would not do: anyone who may read the folder
// may lock it too, and so stop every run. The file stays when the lock is
// given back (removing it would race with the next run taking it).
#pragma once

#include <string_view>

#include "platform/FolderHandle.h"

namespace platform {

class RunLock {
public:
  RunLock() = default;
  ~RunLock();
  RunLock(RunLock&& other) noexcept;
  RunLock& operator=(RunLock&& other) noexcept;
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  // Takes the lock of the tree whose top folder is `top`, without waiting.
  static RunLock Acquire(const FolderHandle& top, std::string_view program);

  bool IsHeld() const { return m_fd >= 0; }
  // Why the lock is not held: EWOULDBLOCK when another run holds it, or
  // the error met while making the lock file; 0 when held.
  int Error() const { return m_error; }

private:
  int m_fd = -1;
  int m_error = 0;
};

}  // namespace platform
