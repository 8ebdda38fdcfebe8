#include "zncore/ZnWinQuarn.h"

#include <cstring>
#include <string_view>

#include "EdifactFile.h"
#include "SegmentScanner.h"
#include "zncore/ZnString.h"

using zncore::detail::EdifactFile;
using zncore::detail::SegmentScanner;

namespace {

constexpr std::size_t kAdviceLength = 9;
constexpr std::size_t kLanguageLineLength = 299;
constexpr unsigned kMessageSegmentLength = 199;

// The length of `text`, counted no further than `max`.
std::size_t BoundedLength(const char* text, std::size_t max) {
  std::size_t length = 0;
  while (length < max && text[length] != '\0') ++length;
  return length;
}

bool BeginsWith(const char* text, std::size_t length, const char* tag) {
  return length >= 3 && std::memcmp(text, tag, 3) == 0;
}

// Position `pos` of the advice; a position the advice does not reach (a
// null or short advice) comes from the default advice, so nothing is read
// past the caller's text.
char AdviceChar(const char* advice, std::size_t pos) {
  const std::size_t length = advice ? BoundedLength(advice, kAdviceLength) : 0;
  return pos < length ? advice[pos] : CZnWinQuarn::kDefaultAdvice[pos];
}

}  // namespace

CZnWinQuarn::~CZnWinQuarn() = default;

int CZnWinQuarn::GetEdifactUNASegment(const char* path, char* advice) const {
  if (!advice) return 0;
  std::memcpy(advice, kDefaultAdvice, sizeof kDefaultAdvice);
  EdifactFile file(path);
  char head[kAdviceLength];
  // A file that ends within the advice has no advice, whatever it begins with.
  if (file.Read(head, sizeof head) != sizeof head || file.Failed()) return 0;
  if (!BeginsWith(head, sizeof head, "UNA")) return 0;
  std::memcpy(advice, head, sizeof head);
  advice[sizeof head] = '\0';
  return 1;
}

int CZnWinQuarn::GetFirstEdifactSegment(const char* path, const char* tag, char* segment,
                                        unsigned int maxLength) const {
  if (!segment) return -4;
  segment[0] = '\0';
  if (maxLength < kAdviceLength || !tag || BoundedLength(tag, 3) < 3) return -4;
  EdifactFile file(path);
  if (!file.IsOpen()) return -1;
  char head[kAdviceLength];
  const std::size_t got = file.Read(head, sizeof head);
  if (file.Failed()) return -1;
  const bool hasAdvice = got == sizeof head && BeginsWith(head, got, "UNA");
  if (BeginsWith(tag, 3, "UNA")) {
    // The advice is not a segment to search for: the answer is always 0,
    // with the file's first characters to look at.
    std::memcpy(segment, head, got);
    segment[got] = '\0';
    return 0;
  }
  SegmentScanner scanner(hasAdvice ? head[8] : '\'', tag, segment, maxLength);
  if (!hasAdvice) scanner.Feed({head, got});
  while (scanner.GetState() == SegmentScanner::State::Searching) {
    const std::string_view bytes = file.Peek();
    if (bytes.empty()) break;
    file.Consume(scanner.Feed(bytes));
  }
  if (file.Failed()) {
    segment[0] = '\0';
    return -1;
  }
  scanner.Finish();
  switch (scanner.GetState()) {
    case SegmentScanner::State::Found: return scanner.Count();
    case SegmentScanner::State::NotUnb: return -2;
    case SegmentScanner::State::TooLong: return -3;
    case SegmentScanner::State::Searching: break;
  }
  return 0;
}

int CZnWinQuarn::GetEdifactElement(const char* segment, const char* advice, unsigned int index,
                                   char* element, unsigned int maxLength) const {
  if (!element) return -3;
  element[0] = '\0';
  const char separator = AdviceChar(advice, 4);
  const char terminator = AdviceChar(advice, 8);
  const CZnString text(segment);
  if (static_cast<unsigned>(text.CountChar(separator)) < index) return -2;

  // Every element up to the one wanted passes through the buffer, so each
  // of them must fit: maxLength + 1 characters and the terminator.
  const std::size_t limit = static_cast<std::size_t>(maxLength) + 1;
  unsigned current = 0;
  std::size_t stored = 0;
  for (const char ch : text.GetView()) {
    if (ch == separator) {
      if (current == index) break;
      ++current;
      stored = 0;
      continue;
    }
    if (stored == limit) {
      element[stored] = '\0';
      return -3;
    }
    element[stored++] = ch;
  }
  element[stored] = '\0';
  if (current != index) {
    element[0] = '\0';
    return -1;
  }
  // Only the last element carries the terminator (or a run of them).
  CZnString value(element, static_cast<int>(stored));
  value.DelEndChar(terminator);
  const std::string_view kept = value.GetView();
  kept.copy(element, kept.size());
  element[kept.size()] = '\0';
  return static_cast<int>(index);
}

int CZnWinQuarn::IsEdifactMessage(const char* path) const {
  char segment[kMessageSegmentLength + 1];
  if (GetFirstEdifactSegment(path, "UNB", segment, kMessageSegmentLength) < 1) return 0;
  return GetFirstEdifactSegment(path, "UNZ", segment, kMessageSegmentLength) >= 1 ? 1 : 0;
}

int CZnWinQuarn::GetLanguageQualifier(const char* path, unsigned int position, const char* suffix,
                                      char* qualifier) const {
  if (!qualifier) return 0;
  qualifier[0] = '\0';
  EdifactFile file(path);
  // One byte more than the line may have, to see a CR LF right after it.
  char bytes[kLanguageLineLength + 1];
  const std::size_t got = file.Read(bytes, sizeof bytes);
  if (got == 0 || file.Failed()) return 0;
  std::string_view line(bytes, got);
  const std::size_t lineEnd = line.find('\n');
  if (lineEnd != std::string_view::npos) {
    line = line.substr(0, lineEnd);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  }
  line = line.substr(0, kLanguageLineLength);
  if (position == 0 || position > line.size()) return 0;
  qualifier[0] = line[position - 1];
  const std::string_view rest = suffix ? std::string_view(suffix) : std::string_view();
  rest.copy(qualifier + 1, rest.size());
  qualifier[1 + rest.size()] = '\0';
  return 1;
}
