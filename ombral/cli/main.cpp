// ombral-scan: Ombral's scan run from the command line.
#include <cstdio>

#include "ScanCommand.h"

int main(int argc, char** argv) {
  return ombral::RunScanCommand(argc - 1, argv + 1, stdout, stderr);
}
