// Test seam of the Zn INI fillers' limits: a test lowers them, so that a
// fill that runs into them is tested without inserting a hundred thousand
// items.
#pragma once

namespace znwidgets::detail {

struct ZnIniLimits {
  long items;  // ZN_TREE_MAX_FILL_ITEMS unless a test lowers it
  long lines;  // ZN_TREE_MAX_FILL_LINES unless a test lowers it
};

// Sets the limits every following fill keeps to; returns the previous ones.
ZnIniLimits SetZnIniLimits(ZnIniLimits limits);

}  // namespace znwidgets::detail
