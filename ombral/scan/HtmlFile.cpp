// CHtmlFile: page output through the C library's buffered streams.
#include "ombral/HtmlFile.h"

#include <cstdarg>

#include "platform/Crt.h"
#include "platform/Drives.h"

CHtmlFile::~CHtmlFile() { Close(); }

bool CHtmlFile::Open(const char* path) {
  Close();
  m_path = path ? path : "";
  m_failed = false;
  const std::string native = platform::ToNativePath(m_path);
  // Binary mode: the texts already hold the exact bytes, line ends included.
  m_file = native.empty() ? nullptr : std::fopen(native.c_str(), "wb");
  return m_file != nullptr;
}

void CHtmlFile::Write(std::string_view text) {
  if (!m_file || text.empty()) return;
  if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) m_failed = true;
}

void CHtmlFile::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = platform::FormatV(format, args);
  va_end(args);
  Write(text);
}

bool CHtmlFile::Close() {
  if (!m_file) return !m_failed;
  if (std::fclose(m_file) != 0) m_failed = true;
  m_file = nullptr;
  return !m_failed;
}
