// The rows of a list view in a gap buffer: a vector with a movable hole.
// Inserting or erasing next to the previous change costs only the moves
// between the two places, so a pass that works its way down a long list
// (separator rows between groups, removal of empty rows) stays linear
// instead of moving every later row at each step.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace platform::ui {

template <typename Row>
class ListRows {
public:
  std::size_t size() const { return m_items.size() - GapSize(); }
  bool empty() const { return size() == 0; }

  Row& operator[](std::size_t index) { return m_items[Slot(index)]; }
  const Row& operator[](std::size_t index) const { return m_items[Slot(index)]; }

  void insert(std::size_t index, Row row) {
    if (GapSize() == 0) Grow();
    MoveGapTo(index);
    m_items[m_gapBegin++] = std::move(row);
  }

  void erase(std::size_t index) {
    MoveGapTo(index);
    m_items[m_gapEnd++] = Row();
  }

  void clear() {
    m_items.clear();
    m_gapBegin = m_gapEnd = 0;
  }

private:
  std::size_t GapSize() const { return m_gapEnd - m_gapBegin; }
  std::size_t Slot(std::size_t index) const {
    return index < m_gapBegin ? index : index + GapSize();
  }

  // Moves the gap so that it starts at `index`; rows keep their order.
  void MoveGapTo(std::size_t index) {
    while (m_gapBegin > index) m_items[--m_gapEnd] = std::move(m_items[--m_gapBegin]);
    while (m_gapBegin < index) m_items[m_gapBegin++] = std::move(m_items[m_gapEnd++]);
  }

  // Doubles the room; the new gap lies at the end.
  void Grow() {
    const std::size_t count = size();
    std::vector<Row> items;
    items.reserve(count * 2 + 16);
    for (std::size_t i = 0; i < count; ++i) items.push_back(std::move((*this)[i]));
    items.resize(items.capacity());
    m_items = std::move(items);
    m_gapBegin = count;
    m_gapEnd = m_items.size();
  }

  std::vector<Row> m_items;
  std::size_t m_gapBegin = 0;
  std::size_t m_gapEnd = 0;
};

}  // namespace platform::ui
