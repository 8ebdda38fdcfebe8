// Drive facts asked on a helper thread with a time limit (see VolumeQuery.h).
#include "platform/VolumeQuery.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Crt.h"

namespace platform {
namespace {

class DefaultProber : public VolumeProber {
public:
  VolumeFacts Probe(const std::string& root) override {
    VolumeFacts facts;
    facts.answered = true;
    facts.type = GetDriveTypeA(root.c_str());
    char label[260] = "";
    if (!GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr,
                               nullptr, 0)) {
      label[0] = '\0';
    }
    facts.label = label;
    return facts;
  }
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

DefaultProber& TheDefaultProber() {
  static DefaultProber* prober = new DefaultProber;
  return *prober;
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
  auto question = std::make_shared<Question>();
  VolumeProber* prober = nullptr;
  int limitMs = 0;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.open.count(key)) return {};  // still waiting for this drive's last answer
    state.open[key] = question;
    prober = state.prober ? state.prober : &TheDefaultProber();
    limitMs = state.limitMs;
  }
  try {
    std::thread([question, prober, root, key] {
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
