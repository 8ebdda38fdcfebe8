// A scan that kills itself at a chosen write, for the tests of interrupted
// runs. A program of its own: a process started afresh has no threads or
// library state of the test program, which a forked copy would inherit.
//
//   ombral-killed-scan FOLDER EDGE STEP SUFFIX N
// maps T: to FOLDER, stands the clock at 07.12.2026 09:00:00 and scans
// T:\Pics with previews of EDGE pixels (0: none), raising SIGKILL at the
// N-th STEP ("write" or "rename") of a file whose name ends in SUFFIX.
#include <csignal>
#include <cstdlib>
#include <string>

#include "RecordingScan.h"
#include "platform/Drives.h"
#include "platform/ReplacingFile.h"
#include "platform/testing/TempDrive.h"

namespace {

int g_left = 0;
std::string g_step;
std::string g_suffix;

int KillAtStep(const char* step, std::string_view name) {
  if (step == g_step && name.size() >= g_suffix.size() && name.substr(name.size() - g_suffix.size()) == g_suffix &&
      --g_left == 0)
    std::raise(SIGKILL);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) return 2;
  platform::MapDrive('T', argv[1]);
  g_step = argv[3];
  g_suffix = argv[4];
  g_left = std::atoi(argv[5]);
  platform::ReplacingFile::SetFaultHook(&KillAtStep);
  platform::testing::FixedClock clock{2026, 12, 7, 9, 0, 0};
  CRecordingScan scan;
  scan.m_strPath = "T:\\Pics";
  scan.m_nPreviewEdge = std::atoi(argv[2]);
  scan.RunScan();
  return 0;
}
