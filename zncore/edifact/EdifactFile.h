// EdifactFile: a file named by a Windows path, opened for reading as bytes
// and read in large blocks, so that scanning a big interchange costs one
// read per block instead of one library call per character.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

namespace zncore::detail {

class EdifactFile {
public:
  // Opens the file; a null, empty or unmapped path leaves it closed.
  explicit EdifactFile(const char* path);
  ~EdifactFile() = default;  // the file closes with m_file
  EdifactFile(const EdifactFile&) = delete;
  EdifactFile& operator=(const EdifactFile&) = delete;

  bool IsOpen() const { return m_file != nullptr; }
  // True once a read has failed (a folder opened as a file, an I/O error).
  bool Failed() const { return m_failed; }

  // Reads up to `size` bytes from the current position into `out`; fewer
  // only at the end of the file or on a failure. Returns the count.
  std::size_t Read(char* out, std::size_t size);

  // The next bytes not consumed yet, a block at a time; an empty view at the
  // end of the file or after a failure. Consume() takes bytes off its front.
  std::string_view Peek();
  void Consume(std::size_t count) { m_pos += count; }

private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  static constexpr std::size_t kBlockSize = 128 * 1024;

  std::unique_ptr<std::FILE, Closer> m_file;
  std::vector<char> m_block;
  std::size_t m_pos = 0;
  std::size_t m_end = 0;
  bool m_failed = false;
};

}  // namespace zncore::detail
