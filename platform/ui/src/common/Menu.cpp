// CMenu: the item list of a window's system menu.
#include "platform/Menu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
  Item item;
  item.flags = flags;
  item.id = (flags & MF_SEPARATOR) ? 0 : static_cast<UINT>(id);
  item.text = (flags & MF_SEPARATOR) || !text ? "" : text;
  m_items.push_back(std::move(item));
  return TRUE;
}

int CMenu::IndexOf(UINT idOrPosition, UINT flags) const {
  if (flags & MF_BYPOSITION) {
    return idOrPosition < m_items.size() ? static_cast<int>(idOrPosition) : -1;
  }
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (!(m_items[i].flags & MF_SEPARATOR) && m_items[i].id == idOrPosition) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
  const int index = IndexOf(position, flags);
  if (index < 0) return FALSE;
  m_items.erase(m_items.begin() + index);
  return TRUE;
}

UINT CMenu::EnableMenuItem(UINT idOrPosition, UINT flags) {
  const int index = IndexOf(idOrPosition, flags);
  if (index < 0) return static_cast<UINT>(-1);
  Item& item = m_items[static_cast<std::size_t>(index)];
  const UINT previous = item.flags & (MF_GRAYED | MF_DISABLED);
  item.flags = (item.flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return previous;
}

int CMenu::GetMenuItemCount() const { return static_cast<int>(m_items.size()); }

UINT CMenu::GetMenuItemID(int position) const {
  if (position < 0 || position >= GetMenuItemCount()) return static_cast<UINT>(-1);
  return m_items[static_cast<std::size_t>(position)].id;
}

int CMenu::GetMenuString(UINT idOrPosition, CString& text, UINT flags) const {
  const int index = IndexOf(idOrPosition, flags);
  text = index < 0 ? "" : m_items[static_cast<std::size_t>(index)].text.c_str();
  return text.GetLength();
}
