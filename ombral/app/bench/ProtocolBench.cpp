// Cost of the dialog's protocol: 20,000 lines into the list box in batches
// (as a scan's lines arrive from its thread; the dialog shows them at most
// 25 times a second) against the same lines one by one (as they came when
// the scan ran on the dialog's thread), and whole scans of a tree of 20,000
// pictures with and without logging, each on the unfolded dialog with its
// events handled after each batch (so the list is laid out and painted as a
// user would see it). Runs offscreen; prints one "name value" line per
// measure.
//
// Usage: ombral_protocol_bench [lines]
//        ombral_protocol_bench stop TREE [SECONDS]
//        ombral_protocol_bench scan TREE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ombral/OmbralDlg.h"
#include "platform/MessagePump.h"
#include "platform/WinApp.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/Timing.h"

namespace {

using platform::testing::BestSeconds;

// Lines as a scan with logging writes them.
std::vector<std::string> ProtocolLines(int count) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    lines.push_back(i % 1000 == 0 ? "Search path: P:\\Archive\\2024\\Folder " + std::to_string(i / 1000)
                                  : "    adding image link: IMG_" + std::to_string(100000 + i) + ".jpg");
  }
  return lines;
}

// The dialog whose "Scan..." the benchmark presses.
class CBenchDlg : public COmbralDlg {
public:
  using COmbralDlg::OnOK;
};

// The dialog as a user watches a scan: shown, the protocol unfolded.
struct Dialog {
  Dialog() {
    dialog.m_strPath = "B:\\Tree";
    if (!dialog.Create(COmbralDlg::IDD)) std::exit(1);
    dialog.ToggleProtocol();
    platform::PumpWaitingMessages();
  }
  CBenchDlg dialog;
};

// Lines in batches of `batch`, the window's events handled after each.
double Batches(const std::vector<std::string>& lines, std::size_t batch) {
  Dialog shown;
  return BestSeconds(1, [&] {
    for (std::size_t first = 0; first < lines.size(); first += batch) {
      const std::size_t last = std::min(lines.size(), first + batch);
      shown.dialog.AddProtocolLines(std::vector<std::string>(lines.begin() + static_cast<long>(first),
                                                             lines.begin() + static_cast<long>(last)));
      platform::PumpWaitingMessages();
    }
  });
}

double OneByOne(const std::vector<std::string>& lines) {
  Dialog shown;
  return BestSeconds(1, [&] {
    for (const std::string& line : lines) shown.dialog.AddProtocolLine(line.c_str());
    platform::PumpWaitingMessages();
  });
}

// A whole scan from "Scan..." to its status, the event loop running.
double Scan(bool logging, const char* path = "B:\\Tree", int runs = 3) {
  Dialog shown;
  shown.dialog.m_strPath = path;
  shown.dialog.m_bNoLogging = logging ? 0 : 1;
  shown.dialog.UpdateData(FALSE);
  return BestSeconds(runs, [&] {
    shown.dialog.OnOK();
    while (shown.dialog.IsScanning()) {
      platform::PumpWaitingMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
}

// Starts a scan of `path`, lets it run `seconds`, presses "Stop" and
// measures until the status says the scan was cancelled; a negative value
// when the scan had ended before or ended otherwise.
double StopAfter(const char* path, double seconds, bool logging) {
  Dialog shown;
  shown.dialog.m_strPath = path;
  shown.dialog.m_bNoLogging = logging ? 0 : 1;
  shown.dialog.UpdateData(FALSE);
  shown.dialog.OnOK();
  const auto pumpFor = [&](auto done) {
    while (!done()) {
      platform::PumpWaitingMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
  const auto started = std::chrono::steady_clock::now();
  pumpFor([&] {
    return !shown.dialog.IsScanning() ||
           std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() >= seconds;
  });
  if (!shown.dialog.IsScanning()) return -1;
  const auto pressed = std::chrono::steady_clock::now();
  shown.dialog.OnOK();  // "Stop"
  CString status;
  pumpFor([&] {
    shown.dialog.GetDlgItemText(IDC_STATUS, status);
    return status == "SCAN CANCELED!" || !shown.dialog.IsScanning();
  });
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - pressed).count();
  return status == "SCAN CANCELED!" ? took : -1;
}

}  // namespace

int main(int argc, char** argv) {
  platform::WindowSystem windows("ombral_protocol_bench");
  if (argc > 2 && std::string(argv[1]) == "stop") {
    // ombral_protocol_bench stop TREE [SECONDS]: the time from "Stop" to
    // "SCAN CANCELED!" in a scan of TREE, without and with logging.
    const double seconds = argc > 3 ? std::atof(argv[3]) : 2.0;
    std::printf("stop_without_logging_seconds %.4f\n", StopAfter(argv[2], seconds, false));
    std::printf("stop_with_logging_seconds %.4f\n", StopAfter(argv[2], seconds, true));
    return 0;
  }
  if (argc > 2 && std::string(argv[1]) == "scan") {
    // ombral_protocol_bench scan TREE: one whole scan of TREE through the
    // dialog, without and with logging.
    std::printf("scan_without_logging_seconds %.4f\n", Scan(false, argv[2], 1));
    std::printf("scan_with_logging_seconds %.4f\n", Scan(true, argv[2], 1));
    return 0;
  }
  const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
  const std::vector<std::string> lines = ProtocolLines(count);
  std::printf("lines %d\n", count);
  std::printf("one_batch_seconds %.4f\n", Batches(lines, lines.size()));
  std::printf("batches_of_1000_seconds %.4f\n", Batches(lines, 1000));
  std::printf("batches_of_100_seconds %.4f\n", Batches(lines, 100));
  std::printf("one_by_one_seconds %.4f\n", OneByOne(lines));

  platform::testing::TempDrive drive('B');
  for (int folder = 0; folder < 20; ++folder) {
    const std::string name = "Tree/F" + std::to_string(folder);
    drive.MakeDir(name);
    for (int file = 0; file < count / 20; ++file) std::ofstream(drive.Native(name) + "/IMG_" + std::to_string(file) + ".jpg");
  }
  std::printf("scan_files %d\n", count / 20 * 20);
  std::printf("scan_without_logging_seconds %.4f\n", Scan(false));
  std::printf("scan_with_logging_seconds %.4f\n", Scan(true));
  return 0;
}
