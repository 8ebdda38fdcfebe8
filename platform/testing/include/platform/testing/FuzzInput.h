// Fuzz support: takes arguments from the front of a fuzzer's input; what is
// left is the text or file content under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::testing {

class FuzzInput {
public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : m_data(reinterpret_cast<const char*>(data), size) {}

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

}  // namespace platform::testing
