// Faults through the system-call seam of the POSIX backend.
#include "platform/testing/Faults.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string_view>

#include "posix/SysCalls.h"

namespace platform::testing {
namespace {

std::string g_suffix;
int g_left = 0;
std::string g_marker;
int g_error = 0;

void KillIfDue(const char* name) {
  const std::string_view text(name);
  if (text.size() >= g_suffix.size() && text.substr(text.size() - g_suffix.size()) == g_suffix && --g_left == 0)
    std::raise(SIGKILL);
}

}  // namespace

void KillAtRename(const std::string& suffix, int count) {
  g_suffix = suffix;
  g_left = count;
  posix::Sys().renameat = [](int fromDir, const char* from, int toDir, const char* to) {
    KillIfDue(to);
    return posix::RealSysCalls().renameat(fromDir, from, toDir, to);
  };
  posix::Sys().exchangeNames = [](int dir, const char* a, const char* b) {
    KillIfDue(b);
    return posix::RealSysCalls().exchangeNames(dir, a, b);
  };
}

void FailWritesContaining(const std::string& marker, int error) {
  g_marker = marker;
  g_error = error;
  posix::Sys().write = [](int fd, const void* buffer, size_t count) -> ssize_t {
    if (std::string_view(static_cast<const char*>(buffer), count).find(g_marker) != std::string_view::npos) {
      errno = g_error;
      return -1;
    }
    return posix::RealSysCalls().write(fd, buffer, count);
  };
}

void ResetFaults() { posix::ResetSysCalls(); }

}  // namespace platform::testing
