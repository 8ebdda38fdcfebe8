// A scan that kills itself at a chosen write, for the tests of interrupted
// runs. A program of its own: a process started afresh has no threads or
// library state of the test program, which a forked copy would inherit.
//
//   ombral-killed-scan FOLDER EDGE STEP SUFFIX N
// maps T: to FOLDER, stands the clock at 07.12.2026 09:00:00 and scans
// T:\Pics with previews of EDGE pixels (0: none; -1: the gallery with its
// own previews), raising SIGKILL at the
// N-th STEP (only "rename": the step that gives a finished file its name)
// of a file whose name ends in SUFFIX.
#include <cstdlib>
#include <string>

#include "RecordingScan.h"
#include "platform/Drives.h"
#include "platform/testing/Faults.h"
#include "platform/testing/TempDrive.h"

int main(int argc, char** argv) {
  if (argc != 6 || std::string(argv[3]) != "rename") return 2;
  platform::MapDrive('T', argv[1]);
  platform::testing::KillAtRename(argv[4], std::atoi(argv[5]));
  platform::testing::FixedClock clock{2026, 12, 7, 9, 0, 0};
  CRecordingScan scan;
  scan.m_strPath = "T:\\Pics";
  const int edge = std::atoi(argv[2]);
  scan.m_nPreviewEdge = edge < 0 ? 0 : edge;
  if (edge < 0) {
    scan.m_bGallery = 1;
    scan.m_strFilter = COmbralScan::kGalleryFilter;
  }
  scan.RunScan();
  return 0;
}
