// Pictures of the progress dialog: a run at 42 % with its status and item
// lines.
#include "Shots.h"
#include "znwidgets/ZnProgressDlg.h"

namespace znwidgets::shots {

bool DrawProgressDlgShots(const std::string& outDir) {
  CZnProgressDlg progress;
  if (!progress.Create(nullptr)) return false;
  progress.SetStatus("Daten werden sortiert...");
  progress.SetItemText("P:\\gallery\\2001\\Sommer");
  progress.SetRange(0, 200);
  progress.SetPos(84);
  return Save(progress, outDir, "znwidgets-progress.png");
}

}  // namespace znwidgets::shots
