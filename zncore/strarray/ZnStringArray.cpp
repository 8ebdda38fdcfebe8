// CZnStringArray: element access, insertion, search, replacement and sorting.
#include "zncore/ZnStringArray.h"

#include <cstdint>
#include <string>
#include <vector>

#include "SortedOrder.h"

using zncore::detail::SortKey;

CString CZnStringArray::GetAt(int index) const {
  if (index >= 0 && index < GetSize()) return CStringArray::GetAt(index);
  return CString(std::to_string(index));
}

int CZnStringArray::Add(const char* text, int sorted, int noCase) {
  if (!sorted) return CStringArray::Add(text);
  // The linear walk costs as much as checking the whole order once, so an
  // untagged array is checked on the way; a tagged one is searched by halves.
  const bool wasInOrder = GetOrderTag() == zncore::detail::TagFor(noCase) ||
                          zncore::detail::IsInOrder(*this, noCase);
  const int index = zncore::detail::InsertionIndex(*this, text ? text : "", noCase);
  InsertAt(index, text);
  if (wasInOrder) SetOrderTag(zncore::detail::TagFor(noCase));
  return index;
}

int CZnStringArray::Find(const char* text, int noCase, int exact) const {
  const std::string wanted = SortKey(text ? text : "", noCase);
  for (int i = 0; i < GetSize(); ++i) {
    const std::string element = SortKey(CStringArray::GetAt(i).GetView(), noCase);
    if (exact ? element == wanted : element.find(wanted) != std::string::npos) return i;
  }
  return -1;
}

int CZnStringArray::AddExclusive(const char* text, int noCase, int exact) {
  const int found = Find(text, noCase, exact);
  if (found != -1) return -1 - found;
  return CStringArray::Add(text);
}

int CZnStringArray::ReplaceStringAt(int index, const char* find, const char* replace) {
  if (index < 0 || index >= GetSize() || !find || !*find) return 0;
  CZnString element = CStringArray::GetAt(index);
  const int pos = element.Find(find);
  if (pos < 0) return 1;
  element.Replace(pos, static_cast<int>(std::char_traits<char>::length(find)), replace ? replace : "");
  SetAt(index, element);
  return 1;
}

namespace {

// Stable merge sort that counts the pairs out of order, which is exactly the
// number of neighbour exchanges an insertion sort makes.
std::uint64_t SortCountingInversions(std::vector<CString>& items, bool ascending) {
  auto before = [ascending](const CString& a, const CString& b) { return ascending ? a < b : b < a; };
  std::vector<CString> buffer(items.size());
  std::uint64_t inversions = 0;
  for (std::size_t width = 1; width < items.size(); width *= 2) {
    for (std::size_t lo = 0; lo < items.size(); lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, items.size());
      const std::size_t hi = std::min(lo + 2 * width, items.size());
      std::size_t i = lo, j = mid, out = lo;
      while (i < mid && j < hi) {
        if (before(items[j], items[i])) {
          inversions += mid - i;  // items[j] passes every element left in the first run
          buffer[out++] = std::move(items[j++]);
        } else {
          buffer[out++] = std::move(items[i++]);
        }
      }
      while (i < mid) buffer[out++] = std::move(items[i++]);
      while (j < hi) buffer[out++] = std::move(items[j++]);
    }
    items.swap(buffer);
  }
  return inversions;
}

}  // namespace

int CZnStringArray::Sort(int /*reserved*/, int ascending) {
  if (GetSize() < 1) return 0;
  std::vector<CString> items = Items();
  const std::uint64_t exchanges = SortCountingInversions(items, ascending != 0);
  ReplaceAll(std::move(items));
  if (ascending) SetOrderTag(zncore::detail::kByteOrder);
  // The count of the original wraps like a 32-bit counter on huge arrays.
  return static_cast<int>(static_cast<std::uint32_t>(exchanges));
}
