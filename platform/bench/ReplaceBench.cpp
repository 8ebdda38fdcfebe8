// What giving a page its new content costs the file system, per page: the
// ways a scan can write a page that exists already (or not yet), timed in
// alternating rounds on the same folder of pages.
//
//   replace_bench FOLDER [PAGES] [ROUNDS]
//
//   in place     open the old page, write, cut to length, close (the old
//                way: a reader or a kill can see half a page)
//   replaced     a new file beside it that takes its name (ReplacingFile:
//                the names swapped, the old file removed)
//   renamed over the same with a rename over the old file
//   unchanged    the same, when the bytes equal the old page's (no rename)
//   new name     a new file renamed to a name that was free
//
// Prints the median time per page of each, and how much more a replaced
// page costs than one rewritten in place.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/ReplacingFile.h"

namespace {

using Clock = std::chrono::steady_clock;

// A page of the size a folder of twenty pictures gets, different each time.
std::string PageText(int round, int page) {
  std::string text = "<HTML>\r\n<HEAD>\r\nround " + std::to_string(round) + " page " + std::to_string(page) + "\r\n";
  while (text.size() < 2600) text += "<IMG SRC=\"IMG_0000.jpg\"><BR>\r\nImage: 0 - IMG_0000.jpg (100 bytes)<BR>\r\n";
  return text;
}

double InPlace(const std::string& folder, int pages, int round) {
  const auto start = Clock::now();
  for (int i = 0; i < pages; ++i) {
    const std::string path = folder + "/p" + std::to_string(i) + ".html";
    const std::string text = PageText(round, i);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
        ::ftruncate(fd, static_cast<off_t>(text.size())) != 0)
      std::abort();
    ::close(fd);
  }
  return std::chrono::duration<double>(Clock::now() - start).count() / pages;
}

double Replaced(const platform::SharedFolder& folder, const std::string& prefix, int pages, int round,
                bool sameText, bool exchange = true) {
  const auto start = Clock::now();
  platform::ReplacingFile::Options options;
  options.exchange = exchange;
  for (int i = 0; i < pages; ++i) {
    platform::ReplacingFile file;
    if (!file.Begin(folder, prefix + std::to_string(i) + ".html", options)) std::abort();
    file.Write(PageText(sameText ? 0 : round, i));
    if (file.Commit() == platform::ReplacingFile::Outcome::Failed) std::abort();
  }
  return std::chrono::duration<double>(Clock::now() - start).count() / pages;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: replace_bench FOLDER [PAGES] [ROUNDS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int pages = argc > 2 ? std::atoi(argv[2]) : 2000;
  const int rounds = std::max(7, argc > 3 ? std::atoi(argv[3]) : 7);
  std::filesystem::create_directories(folder);
  const auto handle = std::make_shared<platform::FolderHandle>(platform::FolderHandle::Open(folder));
  if (!handle->IsOpen()) return 1;
  // Pages exist from here on, as on every scan after the first.
  InPlace(folder, pages, 0);
  Replaced(handle, "r", pages, 0, false);
  Replaced(handle, "u", pages, 0, true);
  Replaced(handle, "o", pages, 0, false);
  std::vector<double> inPlace, replaced, renamedOver, unchanged, fresh, ratios;
  for (int round = 1; round <= rounds; ++round) {
    // New names: the folder of them is emptied before each round, untimed.
    for (int i = 0; i < pages; ++i) ::unlink((folder + "/n" + std::to_string(i) + ".html").c_str());
    ::sync();
    double a, b;
    if (round % 2) {
      a = InPlace(folder, pages, round);
      b = Replaced(handle, "r", pages, round, false);
    } else {
      b = Replaced(handle, "r", pages, round, false);
      a = InPlace(folder, pages, round);
    }
    inPlace.push_back(a);
    replaced.push_back(b);
    ratios.push_back(b / a);
    renamedOver.push_back(Replaced(handle, "o", pages, round, false, false));
    unchanged.push_back(Replaced(handle, "u", pages, round, true));
    fresh.push_back(Replaced(handle, "n", pages, round, false));
  }
  std::printf("pages: %d of 2.6 KB, median of %d rounds\n", pages, rounds);
  std::printf("in place:   %.4f ms per page\n", Median(inPlace) * 1e3);
  std::printf("replaced:   %.4f ms per page (names swapped, the old file removed)\n", Median(replaced) * 1e3);
  std::printf("renamed over: %.4f ms per page (a rename over the old file)\n", Median(renamedOver) * 1e3);
  std::printf("unchanged:  %.4f ms per page\n", Median(unchanged) * 1e3);
  std::printf("new name:   %.4f ms per page\n", Median(fresh) * 1e3);
  std::printf("replaced / in place (median of the rounds' ratios): %.2f\n", Median(ratios));
  std::printf("replacement cost: %.4f ms per page\n", (Median(replaced) - Median(inPlace)) * 1e3);
  return 0;
}
