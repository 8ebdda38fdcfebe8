// Checks the scan tests share: a line among the protocol's lines, a part of
// a page's text.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

inline bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
