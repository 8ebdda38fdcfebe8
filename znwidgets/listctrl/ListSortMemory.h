// Test seam of CZnListCtrl's sort: the sort's working memory can be made
// unavailable, so that the failure path (message box, control unchanged)
// is tested without exhausting the machine.
#pragma once

namespace znwidgets::listctrl {

// While set, every sort fails to get its working memory, as if the
// allocation had thrown.
void SetSortMemoryFails(bool fail);

}  // namespace znwidgets::listctrl
