// CZnString: hexadecimal and bit conversions, number formatting and the
// names of control-character codes.
#include <algorithm>
#include <string>
#include <string_view>

#include "platform/MessageBox.h"
#include "zncore/ZnString.h"

namespace {

CZnString FromString(std::string bytes) { return CZnString(CString(std::move(bytes))); }

// A count of leading bytes, lowered to what the string holds.
std::size_t LeadingCount(unsigned int count, std::string_view text) {
  return std::min<std::size_t>(count, text.size());
}

// The value of a hexadecimal digit; any other character counts as 0.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Two upper-case digits per byte; mode 1 adds "0x" in front and a blank
// behind each byte, mode 2 a blank behind, other modes nothing.
std::string HexText(std::string_view bytes, int mode) {
  std::string hex;
  hex.reserve(bytes.size() * 5);
  for (char c : bytes) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (mode == 1) hex += "0x";
    hex += kHexDigits[byte >> 4];
    hex += kHexDigits[byte % 16];
    if (mode == 1 || mode == 2) hex += ' ';
  }
  return hex;
}

// Control-code names as the suite has always written them: 10 is "CR ", 13
// is "LF ", and 17 to 26 do not follow the usual names.
constexpr const char* kCharNames[33] = {
    "EOL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BSP", "TAB", "CR ",
    "VT ", "FF ", "LF ", "SO ", "SI ", "SLE", "CS1", "DC1", "DC2", "DC3", "DC4",
    "NAK", "SYN", "ETB", "CAN", "SIB", "ESC", "FS ", "GS ", "RS ", "US ", "SPC"};

}  // namespace

CZnString CZnString::ConHexToString(unsigned int count) const {
  const std::string_view text = GetView();
  const std::size_t digits = LeadingCount(count, text) & ~std::size_t{1};  // whole pairs only
  std::string bytes;
  bytes.reserve(digits / 2);
  for (std::size_t i = 0; i < digits; i += 2) {
    bytes += static_cast<char>(HexValue(text[i]) * 16 + HexValue(text[i + 1]));
  }
  return FromString(std::move(bytes));
}

CZnString CZnString::ConStringToHex(unsigned int count, int mode) const {
  const std::string_view text = GetView();
  return FromString(HexText(text.substr(0, LeadingCount(count, text)), mode));
}

CZnString CZnString::ConStringToBankHex(unsigned int count, int mode) const {
  // Each half-byte is one digit, which writes the same text as two-digit
  // bytes do.
  return ConStringToHex(count, mode);
}

CZnString CZnString::GetBitString(int index, int bitCount) const {
  if (bitCount < 1) return CZnString();
  const signed char byte = static_cast<signed char>(GetAt(index));
  // Built most significant first: the bits above 7 of a signed byte repeat
  // its sign bit.
  std::string bits;
  bits.reserve(static_cast<std::size_t>(bitCount));
  const char sign = byte < 0 ? '1' : '0';
  if (bitCount > 8) bits.append(static_cast<std::size_t>(bitCount - 8), sign);
  for (int i = std::min(bitCount, 8) - 1; i >= 0; --i) bits += ((byte >> i) & 1) ? '1' : '0';
  return FromString(std::move(bits));
}

CZnString CZnString::GetBitStream(int count, int bitCount, int separate) const {
  count = std::min(count, GetLength());
  std::string stream;
  for (int index = 0; index < count; ++index) {
    if (separate) stream += ' ';
    stream += GetBitString(index, bitCount).GetView();
  }
  return FromString(std::move(stream));
}

CZnString CZnString::FormatLong(long value) const {
  const std::string digits = std::to_string(value);
  // Groups are counted on the digits only, so no full stop ever follows the
  // minus sign, and the most negative value needs no negation.
  const std::size_t first = (value < 0) ? 1 : 0;
  std::string text(digits, 0, first);
  const std::size_t count = digits.size() - first;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) text += '.';
    text += digits[first + i];
  }
  return FromString(std::move(text));
}

CZnString CZnString::FormatDouble(double /*value*/, int /*digits*/) const {
  MessageBox(nullptr, "SO SORRY!\nThis function (FormatDouble) is not implemented in this version.",
             "VELK-MFC DLL", MB_OK);
  return CZnString();
}

CZnString CZnString::GetCharMeaning(int code) const {
  const unsigned int value = static_cast<unsigned int>(code);
  if (value <= 32) return CZnString(kCharNames[value]);
  return FromString(std::string(1, static_cast<char>(value & 0xFF)));
}
