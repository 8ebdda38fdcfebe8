// preview_bench: previews of every JPEG in a folder, timed, by the library
// the scan uses or by Qt's scaled reader, on one thread per core; and the
// photos the benchmark works on.
//
//   preview_bench generate DIR COUNT WIDTH HEIGHT   photo-like JPEGs
//   preview_bench ours DIR OUT EDGE                 platform::MakePreview
//   preview_bench qt DIR OUT EDGE                   QImageReader, scaled decoding
// The timed modes print the seconds taken and the previews made.
#include <QImage>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>
#include <vips/vips.h>

#include "platform/Preview.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Jpegs(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".jpg") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs `one(name)` for every name on one thread per core; returns seconds
// and counts the successes. Threads give back the preview library's
// per-thread buffers (nothing when it was not used).
template <typename One>
double OnAllCores(const std::vector<std::string>& names, One one, int& made) {
  std::atomic<std::size_t> next{0};
  std::atomic<int> ok{0};
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back([&] {
      for (std::size_t i; (i = next++) < names.size();)
        if (one(names[i])) ++ok;
      platform::EndPreviewThread();
    });
  }
  for (std::thread& thread : pool) thread.join();
  made = ok;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool QtPreview(const std::string& in, const std::string& out, int edge) {
  QImageReader reader(QString::fromStdString(in));
  reader.setAutoTransform(true);
  QSize size = reader.size();
  if (!size.isValid()) return false;
  // The reader scales before it turns: fit the stored picture's longer edge.
  if (size.width() > edge || size.height() > edge) size.scale(edge, edge, Qt::KeepAspectRatio);
  reader.setScaledSize(size);
  const QImage image = reader.read();
  return !image.isNull() && image.save(QString::fromStdString(out), "JPG", 82);
}

int Generate(const std::string& dir, int count, int width, int height) {
  if (VIPS_INIT("preview_bench") != 0) return 1;
  fs::create_directories(dir);
  // One base picture with gradients and grain, somewhat larger than the
  // photos; each photo is a different part of it, so no two files are alike.
  const int margin = 200;
  VipsImage *xy = nullptr, *noise = nullptr, *grain = nullptr, *rgb = nullptr, *base = nullptr;
  if (vips_xyz(&xy, width + margin, height + margin, nullptr) ||
      vips_gaussnoise(&noise, width + margin, height + margin, "sigma", 30.0, "mean", 0.0, nullptr) ||
      vips_gaussblur(noise, &grain, 1.2, nullptr))
    return 1;
  VipsImage *x = nullptr, *y = nullptr, *r = nullptr, *g = nullptr, *b = nullptr;
  vips_extract_band(xy, &x, 0, nullptr);
  vips_extract_band(xy, &y, 1, nullptr);
  VipsImage *rx = nullptr, *gy = nullptr;
  vips_linear1(x, &rx, 255.0 / (width + margin), 0.0, nullptr);
  vips_linear1(y, &gy, 255.0 / (height + margin), 0.0, nullptr);
  vips_add(rx, grain, &r, nullptr);
  vips_add(gy, grain, &g, nullptr);
  vips_linear1(grain, &b, 1.0, 128.0, nullptr);
  VipsImage* bands[3] = {r, g, b};
  if (vips_bandjoin(bands, &rgb, 3, nullptr) || vips_cast_uchar(rgb, &base, nullptr)) return 1;
  VipsImage* memory = vips_image_copy_memory(base);
  if (!memory) return 1;
  for (int i = 0; i < count; ++i) {
    VipsImage* part = nullptr;
    char name[64];
    std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i);
    if (vips_extract_area(memory, &part, (i * 37) % margin, (i * 91) % margin, width, height, nullptr) ||
        vips_jpegsave(part, (dir + name).c_str(), "Q", 90, nullptr))
      return 1;
    g_object_unref(part);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "generate" && argc == 6) return Generate(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  if ((mode != "ours" && mode != "qt") || argc != 5) {
    std::fputs("usage: preview_bench generate DIR COUNT WIDTH HEIGHT | ours|qt DIR OUT EDGE\n", stderr);
    return 2;
  }
  const std::string dir = argv[2], out = argv[3];
  const int edge = std::atoi(argv[4]);
  fs::create_directories(out);
  const std::vector<std::string> names = Jpegs(dir);
  // Qt loads its image plugins on first use; do that here, not racing in
  // the worker threads and not inside the timing.
  if (mode == "qt") QImageReader::supportedImageFormats();
  int made = 0;
  const double seconds =
      mode == "ours"
          ? OnAllCores(names, [&](const std::string& n) {
              return platform::MakePreview(dir + "/" + n, out + "/" + n, edge).status == platform::PreviewStatus::Made;
            }, made)
          : OnAllCores(names, [&](const std::string& n) { return QtPreview(dir + "/" + n, out + "/" + n, edge); }, made);
  std::printf("%.4f %d\n", seconds, made);
  if (made != static_cast<int>(names.size())) std::fprintf(stderr, "%s: %zu previews failed\n", mode.c_str(), names.size() - made);
  return made == static_cast<int>(names.size()) ? 0 : 1;
}
