#include "NumberKey.h"

namespace znwidgets::listctrl {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsGroupMark(char c) { return c == '.' || c == ' ' || c == '\''; }

}  // namespace

NumberKey::NumberKey(const char* cell) {
  const char* at = cell ? cell : "";
  while (*at == ' ' || *at == '\t') ++at;
  if (*at == '-' || *at == '+') m_bNegative = *at++ == '-';
  std::string whole;
  while (IsDigit(*at) || (IsGroupMark(*at) && !whole.empty() && IsDigit(at[1]))) {
    if (IsDigit(*at)) whole += *at;
    ++at;
  }
  if (whole.empty()) {
    m_bNegative = false;
    return;
  }
  m_bNumber = true;
  if (*at == ',' && IsDigit(at[1])) {
    for (++at; IsDigit(*at); ++at) m_fraction += *at;
  }
  const std::size_t first = whole.find_first_not_of('0');
  m_whole = first == std::string::npos ? std::string() : whole.substr(first);
  const std::size_t last = m_fraction.find_last_not_of('0');
  m_fraction.resize(last == std::string::npos ? 0 : last + 1);
  if (m_whole.empty() && m_fraction.empty()) m_bNegative = false;  // -0 is 0
}

int NumberKey::Compare(const NumberKey& a, const NumberKey& b) {
  if (!a.m_bNumber || !b.m_bNumber) return static_cast<int>(a.m_bNumber) - static_cast<int>(b.m_bNumber);
  if (a.m_bNegative != b.m_bNegative) return a.m_bNegative ? -1 : 1;
  // Without leading zeros, a longer whole part is a greater magnitude; then
  // the digits decide, the fraction's compared from its first digit on.
  int magnitude = 0;
  if (a.m_whole.size() != b.m_whole.size()) {
    magnitude = a.m_whole.size() < b.m_whole.size() ? -1 : 1;
  } else if (const int whole = a.m_whole.compare(b.m_whole); whole != 0) {
    magnitude = whole;
  } else {
    magnitude = a.m_fraction.compare(b.m_fraction);
  }
  return a.m_bNegative ? -magnitude : magnitude;
}

}  // namespace znwidgets::listctrl
