// CHtmlFile: a page being written. Texts go out as given (the page texts
// carry their CR LF line ends themselves); a failed write is remembered and
// reported by Close.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class CHtmlFile {
public:
  CHtmlFile() = default;
  ~CHtmlFile();
  CHtmlFile(const CHtmlFile&) = delete;
  CHtmlFile& operator=(const CHtmlFile&) = delete;

  // Creates or truncates the file (any path form the platform accepts);
  // false when it cannot be opened for writing.
  bool Open(const char* path);
  bool IsOpen() const { return m_file != nullptr; }
  const std::string& GetPath() const { return m_path; }

  void Write(std::string_view text);
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Closes the file; false when any write or the close itself failed.
  bool Close();

private:
  std::FILE* m_file = nullptr;
  std::string m_path;
  bool m_failed = false;
};
