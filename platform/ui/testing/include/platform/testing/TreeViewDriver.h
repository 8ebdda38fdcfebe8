// Test support for tree views (CTreeCtrl): drives a real tree as a user
// would (clicks on items and their expand buttons, double clicks, keys) and
// reads what the user sees (the rows shown, their indentation, buttons,
// selection and pictures). Needs the window system the GUI test main
// starts; the tree's window should be shown (offscreen is fine).
#pragma once

#include <string>
#include <vector>

#include "platform/TreeCtrl.h"

namespace platform::testing {

// One row the user sees, top to bottom.
struct TreeRow {
  int level = 0;           // 0 for top-level items
  std::string text;
  bool hasButton = false;  // an expand button shows beside it
  bool expanded = false;   // its children show
  bool selected = false;
};

// Every row shown (scrolled out of view or not), top to bottom.
std::vector<TreeRow> TreeRows(const CTreeCtrl& tree);
// The rows as lines: two blanks per level, then "+ " (collapsed, with a
// button), "- " (expanded) or "  ", then the text; "*" after a selected row.
std::vector<std::string> TreeLines(const CTreeCtrl& tree);

enum class TreeKey { Up, Down, Left, Right, Plus, Minus, Enter };

// A left click on the item's text (scrolled into view first).
void ClickTreeItem(const CTreeCtrl& tree, HTREEITEM item);
void RightClickTreeItem(const CTreeCtrl& tree, HTREEITEM item);
void DoubleClickTreeItem(const CTreeCtrl& tree, HTREEITEM item);
// A left click on the item's expand button.
void ClickTreeButton(const CTreeCtrl& tree, HTREEITEM item);
// A key pressed in the tree (it gets the focus first).
void PressTreeKey(const CTreeCtrl& tree, TreeKey key);

// The index of the image-list picture shown beside the item (the selected
// image while it is selected); -1 when no picture of the list shows.
int ShownTreeImage(const CTreeCtrl& tree, HTREEITEM item);

}  // namespace platform::testing
