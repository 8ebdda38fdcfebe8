#include "TreeChildren.h"

#include <iterator>

#include "TreeModel.h"

namespace platform::ui {

bool TreeChildren::insert(std::size_t row, iterator first, iterator last) {
  const bool appended = row == size();
  const std::size_t slot = m_front + row;
  m_slots.insert(m_slots.begin() + static_cast<std::ptrdiff_t>(slot), std::make_move_iterator(first),
                 std::make_move_iterator(last));
  if (!appended) return true;
  for (std::size_t i = slot; i < m_slots.size(); ++i) m_slots[i]->row = i;
  return false;
}

bool TreeChildren::erase(std::size_t row) {
  if (row + 1 == size()) {
    m_slots.pop_back();
  } else if (row == 0) {
    m_slots[m_front++].reset();
    // Gives the emptied slots back once they are half of all.
    if (m_front < 64 || m_front * 2 < m_slots.size()) return false;
    m_slots.erase(m_slots.begin(), m_slots.begin() + static_cast<std::ptrdiff_t>(m_front));
    m_front = 0;
    return true;
  } else {
    m_slots.erase(begin() + static_cast<std::ptrdiff_t>(row));
    return true;
  }
  if (empty()) clear();
  return false;
}

void TreeChildren::clear() {
  m_slots.clear();
  m_front = 0;
}

void TreeChildren::Renumber() {
  for (std::size_t i = m_front; i < m_slots.size(); ++i) m_slots[i]->row = i;
}

}  // namespace platform::ui
