// CHtmlFile: page output through a buffer and the platform's file class.
//
// An existing page is overwritten in place and then cut to its new length
// instead of being emptied first: file systems that see a file emptied and
// written again (ext4's replace-by-truncate rule) push its data to the disk
// when it is closed, which made every rewritten page cost a disk write
// during the scan.
#include "ombral/HtmlFile.h"

#include <cerrno>
#include <cstdarg>

#include "platform/Crt.h"
#include "platform/File.h"

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

CHtmlFile::CHtmlFile() = default;

CHtmlFile::~CHtmlFile() { Close(); }

bool CHtmlFile::IsOpen() const { return m_file != nullptr; }

bool CHtmlFile::Open(const char* path) {
  Close();
  m_path = path ? path : "";
  m_failed = false;
  m_buffer.clear();
  m_written = 0;
  auto file = std::make_unique<CFile>();
  // Binary: the texts already hold the exact bytes, line ends included.
  if (m_path.empty() ||
      !file->Open(m_path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::typeBinary))
    return false;
  m_file = std::move(file);
  return true;
}

void CHtmlFile::Write(std::string_view text) {
  if (!m_file || text.empty()) return;
  m_buffer.append(text);
  if (m_buffer.size() >= kBufferSize) Flush();
}

void CHtmlFile::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = platform::FormatV(format, args);
  va_end(args);
  Write(text);
}

void CHtmlFile::Flush() {
  if (!m_file || m_buffer.empty()) return;
  try {
    if (!m_failed) m_file->Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
    m_written += m_buffer.size();
  } catch (const CFileException&) {
    m_failed = true;
  }
  m_buffer.clear();
}

bool CHtmlFile::Close() {
  if (!m_file) return !m_failed;
  Flush();
  try {
    // Cuts off what a longer old page left; a device has no length to set.
    if (!m_failed) m_file->SetLength(m_written);
  } catch (const CFileException& error) {
    if (error.m_lOsError != EINVAL) m_failed = true;
  }
  try {
    m_file->Close();
  } catch (const CFileException&) {
    m_failed = true;
  }
  m_file.reset();
  return !m_failed;
}
