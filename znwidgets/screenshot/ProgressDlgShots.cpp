// Pictures of the ProgressDlg family (none yet).
#include "Shots.h"

namespace znwidgets::shots {

bool DrawProgressDlgShots(const std::string&) { return true; }

}  // namespace znwidgets::shots
