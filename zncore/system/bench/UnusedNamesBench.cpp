// GetUnusedFileName in a folder where the first `count` numbers are taken
// (default 10,000), against a probe per number (FileExist of each full
// path, which is what the search costs without its folder listing).
// Prints the name found and the best time of each way.
//
// Usage: zncore_unused_names_bench [count] [runs]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/testing/TempDrive.h"
#include "platform/testing/Timing.h"
#include "zncore/ZnSystem.h"

using platform::testing::BestSeconds;

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  platform::testing::TempDrive drive('T');
  char name[32];
  for (long number = 0; number < count; ++number) {
    std::snprintf(name, sizeof name, "logs/%07ld.log", number);
    drive.WriteFile(name);
  }

  CZnSystem system;
  char result[1024];
  int found = 0;
  const double listed = BestSeconds(runs, [&] {
    char directory[] = "T:\\logs";
    char extension[] = "log";
    found = system.GetUnusedFileName(directory, extension, result, 0);
  });

  long firstFree = -1;
  const double probed = BestSeconds(runs, [&] {
    char path[64];
    for (long number = 0;; ++number) {
      std::snprintf(path, sizeof path, "T:\\logs\\%07ld.log", number);
      if (!system.FileExist(path, "")) {
        firstFree = number;
        break;
      }
    }
  });

  std::printf("taken %ld\nresult %s (%d)\nprobe_result %07ld\nlisted_seconds %.6f\nprobed_seconds %.6f\n", count,
              result, found, firstFree, listed, probed);
  return found == 1 ? 0 : 1;
}
