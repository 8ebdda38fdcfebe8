// Fuzz support: takes arguments from the front of a fuzzer's input (what is
// left is the text or file content under test), checks a fuzzer's rules,
// and keeps the file an input is written to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace platform::testing {

class FuzzInput {
public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(reinterpret_cast<const char*>(data), size) {}

  // The next byte; 0 once the input is used up.
  std::uint8_t Byte() {
    if (m_data.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(m_data.front());
    m_data.remove_prefix(1);
    return byte;
  }
  // A zero-terminated text of up to `maxLength` bytes (the length comes from
  // the next byte); it ends at a zero byte, as such texts do.
  std::string Text(std::size_t maxLength = 7) {
    std::string text(m_data.substr(0, Byte() % (maxLength + 1)));
    m_data.remove_prefix(text.size());
    return std::string(text.c_str());
  }
  std::string_view Rest() const { return m_data; }

private:
  std::string_view m_data;
};

// Ends the run, naming the rule, when a fuzzer's rule is broken: libFuzzer
// keeps the input that broke it.
inline void FuzzCheck(bool condition, const char* rule) {
  if (!condition) {
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
  }
}

// A file of the fuzzer's own in the temporary folder, written anew for each
// input and removed when the fuzzer ends.
class FuzzFile {
public:
  explicit FuzzFile(const std::string& suffix)
      : m_path((std::filesystem::temp_directory_path() / ("zn-fuzz-" + std::to_string(std::random_device{}()) + suffix))
                   .string()) {}
  ~FuzzFile() {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }
  FuzzFile(const FuzzFile&) = delete;
  FuzzFile& operator=(const FuzzFile&) = delete;

  const std::string& Path() const { return m_path; }
  void Write(std::string_view content) const {
    if (FILE* out = std::fopen(m_path.c_str(), "wb")) {
      std::fwrite(content.data(), 1, content.size(), out);
      std::fclose(out);
    }
  }

private:
  std::string m_path;
};

}  // namespace platform::testing
