#include "EdifactFile.h"

#include <algorithm>
#include <string>

#include "platform/Drives.h"

namespace zncore::detail {

EdifactFile::EdifactFile(const char* path) {
  if (!path) return;
  const std::string native = platform::ToNativePath(path);
  if (native.empty()) return;
  // Binary mode: line ends are seen as they are and treated as blanks
  // between segments, so no translation of CR LF is wanted.
  m_file.reset(std::fopen(native.c_str(), "rb"));
  // The blocks replace the stream's own buffer.
  if (m_file) std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
}

std::size_t EdifactFile::Read(char* out, std::size_t size) {
  // Bytes already taken into a block come first; the rest is read directly,
  // so a look at a file's first bytes needs no block.
  const std::size_t buffered = std::min(size, m_end - m_pos);
  std::copy_n(m_block.data() + m_pos, buffered, out);
  Consume(buffered);
  if (buffered == size || !m_file || m_failed) return buffered;
  const std::size_t count = std::fread(out + buffered, 1, size - buffered, m_file.get());
  if (count < size - buffered && std::ferror(m_file.get())) m_failed = true;
  return buffered + count;
}

std::string_view EdifactFile::Peek() {
  if (m_pos < m_end) return {m_block.data() + m_pos, m_end - m_pos};
  if (!m_file || m_failed) return {};
  if (m_block.empty()) m_block.resize(kBlockSize);
  m_pos = 0;
  m_end = std::fread(m_block.data(), 1, m_block.size(), m_file.get());
  if (m_end < m_block.size() && std::ferror(m_file.get())) {
    // Bytes after a failure cannot be trusted to follow the ones before.
    m_failed = true;
    m_end = 0;
  }
  return {m_block.data(), m_end};
}

}  // namespace zncore::detail
