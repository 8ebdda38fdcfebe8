// Pictures of the TreeCtrl family (none yet).
#include "Shots.h"

namespace znwidgets::shots {

bool DrawTreeCtrlShots(const std::string&) { return true; }

}  // namespace znwidgets::shots
