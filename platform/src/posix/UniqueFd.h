// UniqueFd: owns one open descriptor and closes it (through the seam) when
// it goes; moved, never copied.
#pragma once

#include <utility>

#include "SysCalls.h"

namespace platform::posix {

class UniqueFd {
public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.m_fd, -1));
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  explicit operator bool() const { return m_fd >= 0; }
  int Get() const { return m_fd; }
  // Gives the descriptor up without closing it.
  int Release() { return std::exchange(m_fd, -1); }
  // Closes the descriptor held (its error is lost: callers that must know
  // whether the last writes reached the disk use Close).
  void Reset(int fd = -1) {
    if (m_fd >= 0) Sys().close(m_fd);
    m_fd = fd;
  }
  // Closes the descriptor held; 0 or the errno value of the close.
  int Close() {
    if (m_fd < 0) return 0;
    const int fd = std::exchange(m_fd, -1);
    return Sys().close(fd) == 0 || errno == EINTR ? 0 : errno;
  }

private:
  int m_fd = -1;
};

}  // namespace platform::posix
