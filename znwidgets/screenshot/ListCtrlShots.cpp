// Pictures of the ListCtrl family (none yet).
#include "Shots.h"

namespace znwidgets::shots {

bool DrawListCtrlShots(const std::string&) { return true; }

}  // namespace znwidgets::shots
