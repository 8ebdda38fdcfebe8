// Writes a large interchange of order messages, or searches one for a tag
// and reports the time the search took.
//   zncore_edifact_bench generate FILE MEGABYTES crlf|none
//   zncore_edifact_bench search FILE TAG
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "zncore/ZnWinQuarn.h"

namespace {

int Generate(const char* path, long megabytes, const std::string& lineEnd) {
  std::ofstream out(path, std::ios::binary);
  const long long target = megabytes * 1024LL * 1024LL;
  long long written = 0;
  auto put = [&](const std::string& segment) {
    out << segment << lineEnd;
    written += static_cast<long long>(segment.size() + lineEnd.size());
  };
  out << "UNA:+.? '" << lineEnd;
  put("UNB+UNOC:3+5412345000013:14+4012345000009:14+200101:1200+REF1'");
  long messages = 0;
  while (written < target) {
    const std::string n = std::to_string(++messages);
    put("UNH+" + n + "+ORDERS:D:96A:UN:EAN008'");
    put("BGM+220+PO" + n + "+9'");
    put("DTM+137:20200101:102'");
    put("NAD+BY+5412345000013::9'");
    put("NAD+SU+4012345000009::9'");
    put("LIN+1++4000862141404:SRS'");
    put("QTY+21:" + std::to_string(messages % 97 + 1) + "'");
    put("FTX+AAA+++Delivery at the back door?, ring twice'");
    put("UNT+9+" + n + "'");
  }
  put("UNZ+" + std::to_string(messages) + "+REF1'");
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path);
    return 1;
  }
  std::printf("%s: %lld bytes, %ld messages\n", path, written, messages);
  return 0;
}

int Search(const char* path, const char* tag) {
  char segment[201];
  const auto start = std::chrono::steady_clock::now();
  const int number = CZnWinQuarn().GetFirstEdifactSegment(path, tag, segment, 200);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("segment %d (%s) in %.3f s\n", number, segment, took.count());
  return number > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "generate" && argc == 5) return Generate(argv[2], std::atol(argv[3]), std::string(argv[4]) == "crlf" ? "\r\n" : "");
  if (command == "search" && argc == 4) return Search(argv[2], argv[3]);
  std::fprintf(stderr, "usage: %s generate FILE MEGABYTES crlf|none | search FILE TAG\n", argv[0]);
  return 2;
}
