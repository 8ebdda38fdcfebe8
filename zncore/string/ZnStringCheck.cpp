// CZnString: character checks, bit parity and random character sets.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "zncore/ZnString.h"

namespace {

std::string_view ViewOf(const char* text) { return text ? std::string_view(text) : std::string_view(); }

constexpr int kMaxIdLength = 30;

// The German letters of the DOS code pages 437 and 850, and of the Windows
// Western European code page 1252.
constexpr std::string_view kDosGermanLetters = "\x81\x84\x8E\x94\x99\x9A\xE1";
constexpr std::string_view kWindowsGermanLetters = "\xC4\xD6\xDC\xDF\xE4\xF6\xFC";

bool ContainsNone(std::string_view text, std::string_view bytes) {
  return text.find_first_of(bytes) == std::string_view::npos;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether a candidate of MakeRandomCharset lies in the accepted ranges:
// '!'..'@' and '\\'..'`', never a letter.
bool IsRandomCharCandidate(long long value) {
  return (value >= 33 && value <= 64) || (value >= 92 && value <= 96);
}

}  // namespace

int CZnString::IsValidID(const char* forbidden) const {
  if (GetLength() > kMaxIdLength) return 0;
  return FindOneOf(forbidden) == -1 ? 1 : 0;
}

int CZnString::IsValidPwd(int length, int minLength, int maxLength, int minDigits, int maxDigits) const {
  const int tested = length ? length : GetLength();
  if (tested > maxLength || tested < minLength) return 0;
  const int digits = CountDigits(1);
  if (digits < minDigits || digits > maxDigits) return 0;
  return 1;
}

int CZnString::IncludesOnly(const char* allowed) const {
  const std::string_view set = ViewOf(allowed);
  for (char c : GetView()) {
    if (set.find(c) == std::string_view::npos) return 0;
  }
  return 1;
}

int CZnString::IsNumeric(int extended) const { return CountDigits(extended) == GetLength() ? 1 : 0; }

int CZnString::IsAlpha() const {
  const std::string_view text = GetView();
  return std::all_of(text.begin(), text.end(), IsAsciiLetter) ? 1 : 0;
}

int CZnString::IsAnsi() const { return ContainsNone(GetView(), kDosGermanLetters) ? 1 : 0; }

int CZnString::IsAscii() const { return ContainsNone(GetView(), kWindowsGermanLetters) ? 1 : 0; }

int CZnString::CheckByteParity(int byte, int even, int bitCount) const {
  const signed char value = static_cast<signed char>(byte);
  // Bits above 7 of a signed byte repeat bit 7: count them without looping
  // over a bit count that may be huge.
  long long setBits = 0;
  for (int i = 0; i < std::min(bitCount, 8); ++i) setBits += (value >> i) & 1;
  if (bitCount > 8 && value < 0) setBits += bitCount - 8;
  const bool evenParity = setBits % 2 == 0;
  return evenParity == (even != 0) ? 1 : 0;
}

int CZnString::CheckParity(int even, unsigned int count) const {
  const std::string_view text = GetView();
  const std::size_t inside = std::min<std::size_t>(count, text.size());
  for (std::size_t i = 0; i < inside; ++i) {
    if (!CheckByteParity(text[i], even, 8)) return 0;
  }
  // Past the end the original read the terminator and then '~': both even.
  if (count > text.size()) return CheckByteParity('\0', even, 8);
  return 1;
}

CZnString CZnString::MakeRandomCharset(int count, int parity, const char* mixing, int noTerminator) const {
  std::srand(static_cast<unsigned int>(platform::CurrentTimeMs() / 1000));
  const std::string_view mix = ViewOf(mixing);
  std::string result;
  while (static_cast<int>(result.size()) < count) {
    const long long r = std::rand();
    // An empty mixing text mixes nothing (no modulo by zero).
    const long long m = mix.empty() ? 0 : static_cast<signed char>(mix[result.size() % mix.size()]);
    // The sum is taken in a wide type (rand may return INT_MAX); % keeps
    // the sign of a negative sum, which the range test then rejects.
    const long long candidate = (r + m) % 255;
    if (!IsRandomCharCandidate(candidate)) continue;
    if (parity == 1 && !CheckByteParity(static_cast<int>(candidate), 0, 8)) continue;
    if (parity == 2 && !CheckByteParity(static_cast<int>(candidate), 1, 8)) continue;
    result += static_cast<char>(candidate);
  }
  if (!noTerminator) result += '\0';
  return CZnString(CString(std::move(result)));
}
