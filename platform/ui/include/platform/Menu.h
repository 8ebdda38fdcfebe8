// CMenu: a window's menu as a list of items. Only the system menu is used:
// CWnd::GetSystemMenu gives it, items appended to it show in the window's
// system menu (opened by a right click on the dialog's background or
// Alt+Space), and a chosen item reaches CWnd::OnSysCommand with its id.
#pragma once

#include <string>
#include <vector>

#include "platform/Object.h"
#include "platform/String.h"
#include "platform/WinUser.h"

class CMenu : public CObject {
public:
  struct Item {
    UINT flags = MF_STRING;  // MF_SEPARATOR, MF_GRAYED, MF_DISABLED
    UINT id = 0;
    std::string text;  // '&' marks the mnemonic
  };

  CMenu() = default;

  // Appends an item (a separator with MF_SEPARATOR). Always TRUE.
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
  // Removes the item with that id (MF_BYCOMMAND) or at that position
  // (MF_BYPOSITION); FALSE when there is none.
  BOOL DeleteMenu(UINT position, UINT flags);
  // Greys or enables the item; the previous state, or -1 when there is none.
  UINT EnableMenuItem(UINT idOrPosition, UINT flags);
  int GetMenuItemCount() const;
  // The id at a position; 0 for a separator, -1 (as UINT) outside the list.
  UINT GetMenuItemID(int position) const;
  // The text of the item; its length, 0 when there is none.
  int GetMenuString(UINT idOrPosition, CString& text, UINT flags) const;

  const std::vector<Item>& Items() const { return m_items; }

private:
  int IndexOf(UINT idOrPosition, UINT flags) const;

  std::vector<Item> m_items;
};
