// Feeds random INI files to the INI reader through CZnSystem and the
// platform's section readers. Every answer goes into a heap buffer of exactly
// the stated size, so AddressSanitizer stops the run at the first byte
// written past it; the length rules of the results are checked on the way.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Profile.h"
#include "platform/testing/FuzzInput.h"
#include "zncore/ZnSystem.h"

namespace {

using platform::testing::FuzzCheck;

// A list ends with two zeros inside the buffer and is as long as stated.
void CheckList(const char* buffer, DWORD size, DWORD length) {
  if (size < 2) return;
  FuzzCheck(length <= size - 2, "list longer than size - 2");
  FuzzCheck(buffer[length] == '\0' && (length == 0 || buffer[length - 1] == '\0' || length == size - 2),
            "list not ended by two zeros");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::testing::FuzzInput input(data, size);
  const DWORD bufferSize = input.Byte();
  const std::string section = input.Text();
  const std::string key = input.Text();
  const std::string fallback = input.Text() + input.Text();
  const std::string_view content = input.Rest();
  static const platform::testing::FuzzFile file(".ini");
  file.Write(content);
  const char* path = file.Path().c_str();
  auto buffer = std::make_unique<char[]>(bufferSize ? bufferSize : 1);

  CZnSystem system;
  const unsigned long n =
      system.ReadPrivateProfileString(section.c_str(), key.c_str(), fallback.c_str(), buffer.get(), bufferSize, path);
  if (bufferSize > 0) {
    FuzzCheck(n < bufferSize, "value longer than size - 1");
    FuzzCheck(std::strlen(buffer.get()) < bufferSize, "value not ended inside the buffer");
  }
  CheckList(buffer.get(), bufferSize, GetPrivateProfileSectionNamesA(buffer.get(), bufferSize, path));
  CheckList(buffer.get(), bufferSize, GetPrivateProfileSectionA(section.c_str(), buffer.get(), bufferSize, path));
  CheckList(buffer.get(), bufferSize,
            GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.get(), bufferSize, path));
  return 0;
}
