// Fuzzes every member of CZnWinQuarn with random file contents, tags, advice
// texts, indexes, positions and maximum lengths. Every buffer is a heap block
// of exactly the size the member's contract asks for, so a byte written or
// read past it is caught by the address sanitizer. Beyond "no crash", it
// checks the result ranges, that buffers end up terminated, and that adding
// CR LF after every segment terminator changes no search result.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnWinQuarn.h"

namespace {

const platform::testing::TempDrive& Drive() {
  static const platform::testing::TempDrive drive('F');
  return drive;
}

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}

// A heap copy of the text with its terminator and nothing more.
std::unique_ptr<char[]> ExactCopy(const std::string& text) {
  auto copy = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

bool Terminated(const char* buffer, std::size_t size) {
  return std::memchr(buffer, '\0', size) != nullptr;
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

struct Search {
  int result;
  std::string segment;
};

Search FindSegment(const std::string& path, const char* tag, unsigned maxLength) {
  auto buffer = std::make_unique<char[]>(std::size_t(maxLength) + 1);
  const int result = CZnWinQuarn().GetFirstEdifactSegment(path.c_str(), tag, buffer.get(), maxLength);
  Require(result >= -4, "search result");
  Require(Terminated(buffer.get(), std::size_t(maxLength) + 1), "segment terminated");
  return {result, buffer.get()};
}

// The same interchange with CR LF after every segment terminator; empty when
// that could change what the file means (a blank terminator, or a file that
// is only the beginning of an advice).
std::string WithLineEnds(const std::string& content) {
  const bool advice = content.size() >= 9 && content.compare(0, 3, "UNA") == 0;
  if (!advice && content.compare(0, 3, "UNA") == 0) return {};
  const char terminator = advice ? content[8] : '\'';
  if (IsBlank(terminator)) return {};
  std::string text = content.substr(0, advice ? 9 : 0);
  for (std::size_t i = text.size(); i < content.size(); ++i) {
    text += content[i];
    if (content[i] == terminator) text += "\r\n";
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string tag = input.ConsumeRandomLengthString(5);
  const std::string advice = input.ConsumeRandomLengthString(12);
  const std::string suffix = input.ConsumeRandomLengthString(6);
  const unsigned maxLength = input.ConsumeIntegralInRange<unsigned>(0, 400);
  const unsigned index = input.ConsumeBool() ? input.ConsumeIntegral<unsigned>()
                                             : input.ConsumeIntegralInRange<unsigned>(0, 12);
  const unsigned position = input.ConsumeBool() ? input.ConsumeIntegral<unsigned>()
                                                : input.ConsumeIntegralInRange<unsigned>(0, 310);
  const std::string content = input.ConsumeRemainingBytesAsString();
  Drive().WriteFile("f.edi", content);
  const std::string path = Drive().WinPath("f.edi");
  const CZnWinQuarn reader;

  auto fileAdvice = std::make_unique<char[]>(10);
  const int hasAdvice = reader.GetEdifactUNASegment(path.c_str(), fileAdvice.get());
  Require(hasAdvice == 0 || hasAdvice == 1, "advice result");
  Require(hasAdvice || std::strcmp(fileAdvice.get(), CZnWinQuarn::kDefaultAdvice) == 0, "default advice");

  const auto tagCopy = ExactCopy(tag);
  const Search found = FindSegment(path, tagCopy.get(), maxLength);
  const std::string variant = WithLineEnds(content);
  if (!variant.empty() && tag.compare(0, 3, "UNA") != 0) {
    Drive().WriteFile("g.edi", variant);
    const Search again = FindSegment(Drive().WinPath("g.edi"), tagCopy.get(), maxLength);
    Require(again.result == found.result, "line ends change the result");
    Require(found.result == -2 || again.segment == found.segment, "line ends change the segment");
  }

  const auto adviceCopy = ExactCopy(advice);
  const auto segmentCopy = ExactCopy(found.result > 0 ? found.segment : content.substr(0, 500));
  auto element = std::make_unique<char[]>(std::size_t(maxLength) + 2);
  const int part = reader.GetEdifactElement(segmentCopy.get(), adviceCopy.get(), index, element.get(), maxLength);
  Require(part == static_cast<int>(index) || (part >= -3 && part <= -1), "element result");
  Require(Terminated(element.get(), std::size_t(maxLength) + 2), "element terminated");

  const int message = reader.IsEdifactMessage(path.c_str());
  Require(message == 0 || message == 1, "message result");

  const auto suffixCopy = ExactCopy(suffix);
  auto qualifier = std::make_unique<char[]>(std::strlen(suffixCopy.get()) + 2);
  const int language = reader.GetLanguageQualifier(path.c_str(), position, suffixCopy.get(), qualifier.get());
  Require(language == 0 || language == 1, "qualifier result");
  Require(language == 1 || qualifier[0] == '\0', "qualifier left empty");
  return 0;
}
