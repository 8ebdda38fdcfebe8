// The children of a tree item in the shown order (see TreeModel.h).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace platform::ui {

struct TreeItem;

// The children of an item in the shown order. Removing the first or the
// last child costs no move of the others and leaves their rows as they
// are, so a folder of 100,000 items emptied from its first child on (as a
// refresh does) takes linear time.
class TreeChildren {
public:
  using Slot = std::unique_ptr<TreeItem>;
  using iterator = std::vector<Slot>::iterator;
  using const_iterator = std::vector<Slot>::const_iterator;

  std::size_t size() const { return m_slots.size() - m_front; }
  bool empty() const { return size() == 0; }
  Slot& operator[](std::size_t row) { return m_slots[m_front + row]; }
  const Slot& operator[](std::size_t row) const { return m_slots[m_front + row]; }
  Slot& front() { return (*this)[0]; }
  Slot& back() { return m_slots.back(); }
  iterator begin() { return m_slots.begin() + static_cast<std::ptrdiff_t>(m_front); }
  iterator end() { return m_slots.end(); }
  const_iterator begin() const { return m_slots.begin() + static_cast<std::ptrdiff_t>(m_front); }
  const_iterator end() const { return m_slots.end(); }

  // Moves [first, last) in at `row`; true when rows of other children moved.
  bool insert(std::size_t row, iterator first, iterator last);
  // Deletes the child at `row`; true when rows of other children moved.
  bool erase(std::size_t row);
  void clear();
  // Stores every child's place (see TreeItem::row).
  void Renumber();
  // The row of a child whose stored place is `slot`.
  std::size_t RowOfSlot(std::size_t slot) const { return slot - m_front; }

private:
  std::vector<Slot> m_slots;
  std::size_t m_front = 0;  // slots emptied at the front
};

}  // namespace platform::ui
