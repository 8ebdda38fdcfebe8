// Sorted insertion and merging for CZnStringArray.
#include "SortedOrder.h"

#include <algorithm>

#include "platform/Crt.h"

namespace zncore::detail {

std::string SortKey(std::string_view text, bool noCase) {
  std::string key(text);
  if (noCase) platform::AsciiUpper(key);
  return key;
}

bool IsInOrder(const CStringArray& array, bool noCase) {
  const auto& items = array.Items();
  for (std::size_t i = 1; i < items.size(); ++i) {
    if (SortKey(items[i - 1].GetView(), noCase) > SortKey(items[i].GetView(), noCase)) return false;
  }
  return true;
}

int InsertionIndex(const CStringArray& array, std::string_view text, bool noCase) {
  const auto& items = array.Items();
  const std::string key = SortKey(text, noCase);
  auto greater = [&](const CString& item) { return SortKey(item.GetView(), noCase) > key; };
  if (array.GetOrderTag() == TagFor(noCase)) {
    // In order: the first greater element is the partition point.
    auto it = std::partition_point(items.begin(), items.end(), [&](const CString& item) { return !greater(item); });
    return static_cast<int>(it - items.begin());
  }
  auto it = std::find_if(items.begin(), items.end(), greater);
  return static_cast<int>(it - items.begin());
}

void MergeInOrder(CStringArray& array, std::vector<CString> added, bool noCase) {
  struct Keyed {
    std::string key;
    CString text;
  };
  auto keyed = [noCase](std::vector<CString> texts) {
    std::vector<Keyed> result;
    result.reserve(texts.size());
    for (CString& text : texts) result.push_back({SortKey(text.GetView(), noCase), std::move(text)});
    return result;
  };
  std::vector<Keyed> fresh = keyed(std::move(added));
  std::stable_sort(fresh.begin(), fresh.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  std::vector<Keyed> old = keyed(array.Items());

  // std::merge takes from the first range on ties: old elements stay in
  // front of new equal ones, as consecutive insertions would leave them.
  std::vector<Keyed> merged;
  merged.reserve(old.size() + fresh.size());
  std::merge(std::make_move_iterator(old.begin()), std::make_move_iterator(old.end()),
             std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()),
             std::back_inserter(merged), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  std::vector<CString> result;
  result.reserve(merged.size());
  for (Keyed& item : merged) result.push_back(std::move(item.text));
  array.ReplaceAll(std::move(result));
  array.SetOrderTag(TagFor(noCase));
}

}  // namespace zncore::detail
