// Times CZnStringArray::FileList on a folder tree: the sorted, case-free
// folder list a scan builds. Prints the best of several runs in seconds and
// the number of folders found.
//
//   filelist_bench FOLDER [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/testing/Timing.h"
#include "zncore/ZnStringArray.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: filelist_bench FOLDER [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  int count = 0;
  const double best = platform::testing::BestSeconds(runs, [&] {
    CZnStringArray folders;
    folders.FileList(argv[1], nullptr, 1, 1, 1, 1, 1);
    count = folders.GetCount();
  });
  std::printf("%.6f %d\n", best, count);
  return 0;
}
