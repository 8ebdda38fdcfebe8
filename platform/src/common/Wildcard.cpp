// Wildcard matching for file searches.
#include "platform/Wildcard.h"

#include "platform/Crt.h"

namespace platform {
namespace {

// Length of the UTF-8 sequence that starts at `pos` (1 for a stray byte).
std::size_t CharLength(std::string_view text, std::size_t pos) noexcept {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  std::size_t n = 1;
  while (n < length && pos + n < text.size() &&
         (static_cast<unsigned char>(text[pos + n]) & 0xC0) == 0x80)
    ++n;
  return n;
}

// Iterative matcher with one backtracking point for the last '*': linear in
// practice and never recursive, whatever the pattern.
bool Match(std::string_view name, std::string_view pattern) noexcept {
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += CharLength(name, n);
    } else if (p < pattern.size() && AsciiToLower(pattern[p]) == AsciiToLower(name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool HasWildcards(std::string_view pattern) noexcept {
  return pattern.find_first_of("*?") != std::string_view::npos;
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) noexcept {
  if (pattern == "*.*" || pattern == "*") return true;
  if (Match(name, pattern)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
    return Match(name, pattern.substr(0, pattern.size() - 2));
  if (!pattern.empty() && pattern.back() == '.' && name.find('.') == std::string_view::npos)
    return Match(name, pattern.substr(0, pattern.size() - 1));
  return false;
}

}  // namespace platform
