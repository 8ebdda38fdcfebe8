// CZnTime: reading the three text layouts and writing the six.
#include <cstring>
#include <string_view>

#include "ZnTimeParts.h"
#include "zncore/ZnTime.h"

namespace {

// Where a part lies in a layout: first character and length.
struct Field {
  std::size_t first, length;
};
// Year, month, day, hour, minute, second.
using Layout = Field[6];
constexpr Layout kDashed = {{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}};  // YYYY-MM-DD hh:mm:ss
constexpr Layout kDotted = {{6, 4}, {3, 2}, {0, 2}, {11, 2}, {14, 2}, {17, 2}};  // DD.MM.YYYY hh:mm:ss
constexpr Layout kPacked = {{0, 4}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 2}};   // YYYYMMDDhhmmss

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The decimal number at the start of `part`, as the C runtime reads one:
// leading blanks skipped, an optional sign, then digits; none give 0.
int ReadNumber(std::string_view part) {
  std::size_t i = 0;
  while (i < part.size() && IsBlank(part[i])) ++i;
  bool negative = false;
  if (i < part.size() && (part[i] == '+' || part[i] == '-')) negative = part[i++] == '-';
  int value = 0;
  for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) value = value * 10 + (part[i] - '0');
  return negative ? -value : value;
}

zncore::time::Parts ReadParts(const char* text) {
  const std::string_view s = text ? std::string_view(text) : std::string_view();
  const Layout& layout = s.find('-') != std::string_view::npos   ? kDashed
                         : s.find('.') != std::string_view::npos ? kDotted
                                                                 : kPacked;
  // A part that starts at or beyond the end is empty; one that runs over
  // the end is cut there, so nothing past the text is read.
  int values[6];
  for (int i = 0; i < 6; ++i) {
    values[i] = layout[i].first < s.size() ? ReadNumber(s.substr(layout[i].first, layout[i].length)) : 0;
  }
  return {values[0], values[1], values[2], values[3], values[4], values[5]};
}

}  // namespace

void CZnTime::SetTimeFromString(const char* text) {
  const zncore::time::Parts p = ReadParts(text);
  SetDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

int CZnTime::IsValidTimeStr(const char* text) {
  const zncore::time::Parts p = ReadParts(text);
  const bool ok = p.year >= 1 && p.year <= 2060 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
                  p.day <= 31 && p.hour >= 0 && p.hour <= 24 && p.minute >= 0 && p.minute <= 59 &&
                  p.second >= 0 && p.second <= 59;
  return ok ? 1 : 0;
}

CZnString CZnTime::GetTimeAsString(CZnString& buffer, int format) const {
  const zncore::time::Parts p = zncore::time::PartsOf(*this);
  switch (format) {
    case 1: buffer.Format("%02d.%02d.%4d", p.day, p.month, p.year); break;
    case 2: buffer.Format("%02d:%02d:%02d", p.hour, p.minute, p.second); break;
    case 3:
      buffer.Format("%4d%02d%2d%02d%02d%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
      break;
    case 4:
      buffer.Format("%02d.%02d.%4d %02d:%02d:%02d", p.month, p.day, p.year, p.hour, p.minute,
                    p.second);
      break;
    case 5: buffer.Format("%02d.%02d.%4d", p.month, p.day, p.year); break;
    default:
      buffer.Format("%02d.%02d.%4d %02d:%02d:%02d", p.day, p.month, p.year, p.hour, p.minute,
                    p.second);
      break;
  }
  return buffer;
}
