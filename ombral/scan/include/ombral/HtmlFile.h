// CHtmlFile: a page being written. Texts go out as given (the page texts
// carry their CR LF line ends themselves); a failed write is remembered and
// reported by Close.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class CFile;

class CHtmlFile {
public:
  CHtmlFile();
  ~CHtmlFile();
  CHtmlFile(const CHtmlFile&) = delete;
  CHtmlFile& operator=(const CHtmlFile&) = delete;

  // Creates the file or opens the one there for writing (any path form the
  // platform accepts); false when it cannot be opened for writing.
  bool Open(const char* path);
  bool IsOpen() const;
  const std::string& GetPath() const { return m_path; }

  void Write(std::string_view text);
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Writes what is buffered, cuts off whatever an older, longer page left
  // behind, and closes the file; false when any write or the close failed.
  bool Close();

private:
  void Flush();

  std::unique_ptr<CFile> m_file;
  std::string m_buffer;
  unsigned long long m_written = 0;  // bytes handed to the file
  std::string m_path;
  bool m_failed = false;
};
