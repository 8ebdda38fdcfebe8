// Sorted insertion of CZnStringArray, kept to the linear rule "insert before
// the first element greater than the text" but without its quadratic cost.
//
// Inserting texts one after the other that way into an array that is in order
// gives the same array as a stable sort of the old elements followed by the
// new texts: an element only ever goes after everything not greater than it,
// so equal elements keep the order in which they arrived. The members below
// use that to insert by binary search, and to merge many texts at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/StringArray.h"

namespace zncore::detail {

// The order tags stored in the base array (0 = order unknown).
enum OrderTag : int { kByteOrder = 1, kUpperCasedOrder = 2 };

inline int TagFor(bool noCase) { return noCase ? kUpperCasedOrder : kByteOrder; }

// The text that is compared: upper-cased with noCase, else the text itself.
std::string SortKey(std::string_view text, bool noCase);

// True when no element is greater than its successor.
bool IsInOrder(const CStringArray& array, bool noCase);

// The index before which the linear rule inserts `text`. Binary search when
// the array carries the tag of this order, else the linear walk.
int InsertionIndex(const CStringArray& array, std::string_view text, bool noCase);

// Adds every text of `added` as consecutive sorted insertions would. The
// array must be in order; it is tagged as such afterwards.
void MergeInOrder(CStringArray& array, std::vector<CString> added, bool noCase);

}  // namespace zncore::detail
