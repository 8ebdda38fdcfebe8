// Drive facts asked on a helper thread with a time limit (see VolumeQuery.h).
#include "platform/VolumeQuery.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "FileBackend.h"
#include "platform/Crt.h"
#include "platform/Drives.h"

namespace platform {
namespace {

// The drive's kind from its folder's file system, as GetDriveTypeA decides
// it. Only this may block; it never touches the drive table, which belongs
// to the calling thread.
UINT KindOfFolder(const std::string& native) {
  backend::FileStatusData status;
  if (!backend::StatusOfPath(native, status) || !status.isDirectory) return DRIVE_NO_ROOT_DIR;
  backend::FileSystemData data;
  if (!backend::FileSystemOf(native, data)) return DRIVE_UNKNOWN;
  switch (data.kind) {
    case backend::FileSystemKind::Remote: return DRIVE_REMOTE;
    case backend::FileSystemKind::CdRom: return DRIVE_CDROM;
    case backend::FileSystemKind::Ram: return DRIVE_RAMDISK;
    case backend::FileSystemKind::Local: return DRIVE_FIXED;
  }
  return DRIVE_UNKNOWN;
}

// The default prober, for one drive resolved by the caller.
class FolderProber : public VolumeProber {
public:
  FolderProber(std::string folder, std::string label)
      : m_folder(std::move(folder)), m_label(std::move(label)) {}
  VolumeFacts Probe(const std::string&) override {
    const UINT kind = KindOfFolder(m_folder);
    // A drive without its folder has no label to show either.
    return {true, kind, kind == DRIVE_NO_ROOT_DIR ? std::string() : m_label};
  }

private:
  std::string m_folder;
  std::string m_label;
};

// One question on its way: the helper fills it in and signals.
struct Question {
  std::mutex mutex;
  std::condition_variable done;
  bool answered = false;
  VolumeFacts facts;
};

// The shared state lives for the whole process (never destroyed), so a
// helper still blocked at exit never touches a destroyed object.
struct State {
  std::mutex mutex;
  VolumeProber* prober = nullptr;
  int limitMs = 2000;
  std::map<std::string, std::shared_ptr<Question>> open;  // by upper-cased root
};

State& TheState() {
  static State* state = new State;
  return *state;
}

}  // namespace

VolumeProber* SetVolumeProber(VolumeProber* prober) {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  VolumeProber* previous = state.prober;
  state.prober = prober;
  return previous;
}

int SetVolumeQueryLimit(int milliseconds) {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  const int previous = state.limitMs;
  state.limitMs = milliseconds < 0 ? 0 : milliseconds;
  return previous;
}

VolumeFacts QueryVolume(const std::string& root, const std::function<void()>& whileWaiting) {
  State& state = TheState();
  std::string key = root;
  AsciiUpper(key);
  // The drive table is read here, on the caller's thread; the helper only
  // asks the file system.
  std::shared_ptr<VolumeProber> ownProber;
  if (root.size() >= 2 && root[1] == ':') {
    const std::optional<Drive> drive = FindDrive(root[0]);
    if (!drive) return {true, DRIVE_NO_ROOT_DIR, ""};
    ownProber = std::make_shared<FolderProber>(drive->folder, drive->label);
  } else {
    ownProber = std::make_shared<FolderProber>(ToNativePath(root), "");
  }
  auto question = std::make_shared<Question>();
  VolumeProber* prober = nullptr;
  int limitMs = 0;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.open.count(key)) return {};  // still waiting for this drive's last answer
    state.open[key] = question;
    prober = state.prober ? state.prober : ownProber.get();
    limitMs = state.limitMs;
  }
  try {
    std::thread([question, prober, ownProber, root, key] {
      VolumeFacts facts = prober->Probe(root);
      facts.answered = true;
      State& shared = TheState();
      {
        std::lock_guard<std::mutex> lock(shared.mutex);
        shared.open.erase(key);
      }
      std::lock_guard<std::mutex> lock(question->mutex);
      question->facts = std::move(facts);
      question->answered = true;
      question->done.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> lock(state.mutex);
    state.open.erase(key);
    return {};  // no thread to be had: better no answer than a hang
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  std::unique_lock<std::mutex> lock(question->mutex);
  while (!question->answered) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return {};
    const auto slice = std::min<std::chrono::steady_clock::duration>(deadline - now, std::chrono::milliseconds(50));
    question->done.wait_for(lock, slice);
    if (!question->answered && whileWaiting) {
      lock.unlock();
      whileWaiting();
      lock.lock();
    }
  }
  return question->facts;
}

}  // namespace platform
