// The key of a cell when a list sorts by numbers: the number the cell
// begins with, compared by value at any length. Numbers are read as the
// suite writes them (CZnString::FormatLong): full stops group the digits
// ("1.001.983"), a comma begins the fraction ("0,5").
#pragma once

#include <string>

namespace znwidgets::listctrl {

class NumberKey {
public:
  // Reads the number at the start of `cell`: blanks, an optional sign,
  // then digits, where a full stop, a blank or an apostrophe between two
  // digits groups them and is skipped; a comma followed by a digit begins
  // the fraction. Whatever follows (a unit such as " KB") is ignored. A cell
  // without a digit there holds no number.
  explicit NumberKey(const char* cell);

  bool IsNumber() const { return m_bNumber; }

  // Below 0, 0 or above 0 as `a` is smaller than, equal to or greater than
  // `b`. A cell without a number is smaller than every number and equal to
  // every other cell without one.
  static int Compare(const NumberKey& a, const NumberKey& b);

private:
  bool m_bNumber = false;
  bool m_bNegative = false;   // never for zero
  std::string m_whole;        // the digits before the comma, without leading zeros
  std::string m_fraction;     // the digits after it, without trailing zeros
};

}  // namespace znwidgets::listctrl
