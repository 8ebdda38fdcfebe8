// Feeds random id list files to CZnDialog::CopyIdList, with record sizes
// near and below the smallest and buffers from none to more than enough.
// The names go into a heap buffer of exactly the stated size, so
// AddressSanitizer stops the run at the first byte written past it; the
// text must end inside the buffer, and be the whole list cut after a whole
// name. (A name may hold '|' itself: the list cannot be split again.) A
// broken rule aborts the run.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/testing/FuzzInput.h"
#include "znwidgets/ZnDialog.h"

using platform::testing::FuzzCheck;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const platform::testing::FuzzFile file(".dat");
  platform::testing::FuzzInput input(data, size);
  const unsigned int recordSize = 20u + input.Byte() % 64u;  // below the smallest (30) too
  const std::size_t textSize = input.Byte();
  const std::string_view content = input.Rest();
  file.Write(content);
  CZnDialog dialog;
  auto text = std::make_unique<char[]>(textSize ? textSize : 1);
  FuzzCheck(dialog.CopyIdList(file.Path().c_str(), recordSize, text.get(), textSize) == text.get(),
            "not the caller's text");
  if (textSize == 0) return 0;
  const std::size_t length = strnlen(text.get(), textSize);
  FuzzCheck(length < textSize, "the text not ended inside the buffer");
  // The unsized form writes the whole list; a buffer for every name of the
  // file holds it.
  auto whole = std::make_unique<char[]>(content.size() + 1);
  dialog.CopyIdList(file.Path().c_str(), recordSize, whole.get());
  FuzzCheck(std::strncmp(whole.get(), text.get(), length) == 0, "the sized text is not the start of the whole");
  FuzzCheck(length == 0 || whole[length] == '\0' || whole[length] == '|', "the sized text cut inside a name");
  FuzzCheck(std::strlen(whole.get()) <= content.size(), "more names than the file holds");
  return 0;
}
