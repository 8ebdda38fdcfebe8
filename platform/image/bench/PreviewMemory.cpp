// preview_memory: what previews cost in memory, measured as the process's
// peak resident size (VmHWM of /proc/self/status).
//
//   preview_memory bombs DIR [COUNT [SIDE]]
//       writes COUNT (4) interlaced 16-bit RGB PNGs of SIDE x SIDE (14100)
//       pixels, nearly one colour, so each file is small and its decode huge
//   preview_memory run BUDGET_MIB THREADS EDGE FILE...
//       previews of the files on THREADS threads sharing one budget; prints
//       each file's status and estimate, then seconds, peak resident MiB and
//       the budget's peak
//   preview_memory calibrate DIR [EDGE]
//       writes one picture of each kind into DIR and measures each in a
//       process of its own: kind, estimate and the measured growth in MiB
//   preview_memory measure FILE EDGE
//       one preview with an unlimited budget: estimate and growth in bytes
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Preview.h"
#include "platform/testing/TestPictures.h"

extern char** environ;

namespace {

using platform::testing::PictureOptions;

// A field of /proc/self/status in kB; -1 when it is missing.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(field);
  while (std::getline(status, line))
    if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
      return std::atol(line.c_str() + length + 1);
  return -1;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(in ? static_cast<std::size_t>(in.tellg()) : 0, '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

const char* StatusName(platform::PreviewStatus status) {
  switch (status) {
    case platform::PreviewStatus::Made: return "made";
    case platform::PreviewStatus::NotAPicture: return "not-a-picture";
    case platform::PreviewStatus::Broken: return "broken";
    case platform::PreviewStatus::TooLarge: return "too-large";
    case platform::PreviewStatus::OverBudget: return "over-budget";
    case platform::PreviewStatus::Failed: return "failed";
    case platform::PreviewStatus::WriteFailed: return "write-failed";
  }
  return "?";
}

int Bombs(const std::string& dir, int count, int side) {
  std::filesystem::create_directories(dir);
  PictureOptions options;
  options.interlaced = options.sixteenBit = options.flat = true;
  for (int i = 0; i < count; ++i) {
    const std::string path = dir + "/bomb" + std::to_string(i) + ".png";
    if (!platform::testing::WriteTestPicture(path, side, side, options)) return 1;
    std::printf("%s %ju bytes\n", path.c_str(), static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
  }
  return 0;
}

// As a scan does it: a file's bytes are taken from the budget before it is
// read, and MakePreviewImage gives them back.
int Run(std::uint64_t budgetMiB, int threads, int edge, const std::vector<std::string>& files) {
  platform::PreviewBudget budget(budgetMiB << 20);
  std::atomic<std::size_t> next{0};
  std::vector<std::string> lines(files.size());
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back([&] {
      for (std::size_t i; (i = next++) < files.size();) {
        const std::uint64_t size = std::filesystem::file_size(files[i]);
        platform::PreviewImage image;
        if (!budget.Acquire(size)) {
          image.status = platform::PreviewStatus::OverBudget;
        } else {
          const std::string bytes = ReadAll(files[i]);
          image = platform::MakePreviewImage(bytes, edge, budget, size);
        }
        lines[i] = files[i] + " " + StatusName(image.status) + " estimate " + std::to_string(image.needed >> 20) +
                   " MiB " + image.reason;
      }
      platform::EndPreviewThread();
    });
  }
  for (std::thread& thread : pool) thread.join();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (files.size() <= 20)
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  std::printf("files %zu threads %d budget %ju MiB: %.2f s, peak resident %ld MiB, budget peak %ju MiB\n",
              files.size(), threads, static_cast<std::uintmax_t>(budgetMiB), seconds, StatusKb("VmHWM") / 1024,
              static_cast<std::uintmax_t>(budget.Peak() >> 20));
  return 0;
}

int Measure(const std::string& file, int edge) {
  const std::string bytes = ReadAll(file);
  platform::PreviewBudget budget(~std::uint64_t{0} >> 1);
  // Start the library on a tiny picture first, so its start-up is not
  // counted.
  const std::string warm = file + ".warm.png";
  if (!platform::testing::WriteTestPicture(warm, 16, 16)) return 1;
  platform::MakePreviewImage(ReadAll(warm), edge, budget, 0);
  std::filesystem::remove(warm);
  {
    std::ofstream reset("/proc/self/clear_refs");
    reset << "5";  // the peak resident size starts again from now
  }
  const long before = StatusKb("VmRSS");
  const platform::PreviewImage image = platform::MakePreviewImage(bytes, edge, budget, 0);
  const long peak = StatusKb("VmHWM");
  std::printf("%s %ju %ld\n", StatusName(image.status), static_cast<std::uintmax_t>(image.needed),
              (peak - before) * 1024);
  return image.status == platform::PreviewStatus::Made ? 0 : 1;
}

// Runs `self measure file edge` and reads its one line.
bool MeasureApart(const char* self, const std::string& file, int edge, std::string& line) {
  const std::string out = file + ".measure";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const std::string edgeText = std::to_string(edge);
  char* argv[] = {const_cast<char*>(self), const_cast<char*>("measure"), const_cast<char*>(file.c_str()),
                  const_cast<char*>(edgeText.c_str()), nullptr};
  pid_t child = 0;
  int status = 0;
  const bool ok = posix_spawn(&child, self, &actions, nullptr, argv, environ) == 0 &&
                  waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  posix_spawn_file_actions_destroy(&actions);
  line = ReadAll(out);
  std::filesystem::remove(out);
  while (!line.empty() && line.back() == '\n') line.pop_back();
  return ok;
}

int Calibrate(const char* self, const std::string& dir, int edge) {
  std::filesystem::create_directories(dir);
  struct Kind {
    const char* name;
    const char* file;
    int width, height;
    PictureOptions options;
    int edge = 0;  // the run's edge when 0
  };
  PictureOptions interlaced, deep, deepInterlaced, alpha;
  interlaced.interlaced = true;
  deep.sixteenBit = true;
  deepInterlaced.interlaced = deepInterlaced.sixteenBit = true;
  alpha.alpha = true;
  const Kind kinds[] = {
      {"baseline JPEG 4000x3000", "photo.jpg", 4000, 3000, {}},
      {"baseline JPEG 8000x6000", "large.jpg", 8000, 6000, {}},
      {"baseline JPEG 14100x14100", "huge.jpg", 14100, 14100, {}},
      {"progressive JPEG 4000x3000", "progressive.jpg", 4000, 3000, interlaced},
      {"progressive JPEG 8000x6000", "progressive-large.jpg", 8000, 6000, interlaced},
      {"baseline JPEG 8000x6000, edge 4096", "large.jpg", 8000, 6000, {}, 4096},
      {"PNG 4000x3000", "photo.png", 4000, 3000, {}},
      {"PNG 14100x14100", "square.png", 14100, 14100, {}},
      {"PNG 14100x1000", "wide.png", 14100, 1000, {}},
      {"PNG 1000x14100", "tall.png", 1000, 14100, {}},
      {"PNG 16-bit 8000x6000", "deep.png", 8000, 6000, deep},
      {"PNG RGBA 4000x3000", "alpha.png", 4000, 3000, alpha},
      {"PNG RGBA 8000x6000", "alpha-large.png", 8000, 6000, alpha},
      {"PNG RGBA 8000x6000, edge 4096", "alpha-large.png", 8000, 6000, alpha, 4096},
      {"interlaced PNG 4000x3000", "interlaced.png", 4000, 3000, interlaced},
      {"interlaced PNG 16-bit 6000x6000", "interlaced-deep.png", 6000, 6000, deepInterlaced},
      {"GIF 4000x3000", "photo.gif", 4000, 3000, {}},
      {"WebP 4000x3000", "photo.webp", 4000, 3000, {}},
      {"TIFF 4000x3000", "photo.tif", 4000, 3000, {}},
      {"TIFF 16-bit 4000x3000", "deep.tif", 4000, 3000, deep},
      {"BMP 4000x3000", "photo.bmp", 4000, 3000, {}},
  };
  std::printf("%-40s %12s %12s\n", "kind", "estimate MiB", "measured MiB");
  int worst = 0;
  for (const Kind& kind : kinds) {
    const std::string path = dir + "/" + kind.file;
    if (!std::filesystem::exists(path) &&
        !platform::testing::WriteTestPicture(path, kind.width, kind.height, kind.options)) {
      std::printf("%-40s cannot write\n", kind.name);
      worst = 1;
      continue;
    }
    std::string line;
    if (!MeasureApart(self, path, kind.edge != 0 ? kind.edge : edge, line)) {
      std::printf("%-40s failed: %s\n", kind.name, line.c_str());
      worst = 1;
      continue;
    }
    char status[32] = {};
    unsigned long long estimate = 0;
    long long measured = 0;
    std::sscanf(line.c_str(), "%31s %llu %lld", status, &estimate, &measured);
    std::printf("%-40s %12.1f %12.1f%s\n", kind.name, estimate / 1048576.0, measured / 1048576.0,
                static_cast<long long>(estimate) < measured ? "  UNDER" : "");
    if (static_cast<long long>(estimate) < measured) worst = 1;
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "bombs" && argc >= 3)
    return Bombs(argv[2], argc > 3 ? std::atoi(argv[3]) : 4, argc > 4 ? std::atoi(argv[4]) : 14100);
  if (mode == "run" && argc >= 6)
    return Run(std::strtoull(argv[2], nullptr, 10), std::max(1, std::atoi(argv[3])), std::atoi(argv[4]),
               std::vector<std::string>(argv + 5, argv + argc));
  if (mode == "calibrate" && argc >= 3) return Calibrate(argv[0], argv[2], argc > 3 ? std::atoi(argv[3]) : 240);
  if (mode == "measure" && argc == 4) return Measure(argv[2], std::atoi(argv[3]));
  std::fputs("usage: preview_memory bombs DIR [COUNT [SIDE]] | run BUDGET_MIB THREADS EDGE FILE... |\n"
             "       calibrate DIR [EDGE] | measure FILE EDGE\n",
             stderr);
  return 2;
}
