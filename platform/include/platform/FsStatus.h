// FsStatus: how one step in the file system went, as a value.
//
//   if (const platform::FsStatus status = folder.Look(name, info); !status.Ok())
//     report(status.Message());
//
// Success, or the system's error number (an errno value) with its text.
// There is deliberately no conversion to bool: a caller always says which
// way it asks (Ok() or Failed()), so a success can never be read as a
// failure. Nothing in the platform layer reports a file-system error
// through errno; every step returns one of these or a type that holds one.
#pragma once

#include <string>

namespace platform {

class [[nodiscard]] FsStatus {
public:
  // Success.
  constexpr FsStatus() = default;
  // A failure with the errno value `error` (0 stays a success).
  static constexpr FsStatus Of(int error) { return FsStatus(error); }

  constexpr bool Ok() const { return m_error == 0; }
  constexpr bool Failed() const { return m_error != 0; }
  // The errno value; 0 on success.
  constexpr int Error() const { return m_error; }
  constexpr bool Is(int error) const { return m_error == error; }
  // The system's text for the error ("No space left on device"); "" on
  // success.
  std::string Message() const;

  friend constexpr bool operator==(FsStatus, FsStatus) = default;

private:
  constexpr explicit FsStatus(int error) : m_error(error) {}
  int m_error = 0;
};

// The system's text for an errno value; "" for 0.
std::string ErrorText(int error);

}  // namespace platform
