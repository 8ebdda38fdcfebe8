// A drive's kind and label, learnt without hanging on a file system that
// does not answer.
//
// Asking a dead network mount for its status can block the asking thread
// for minutes. QueryVolume asks on a helper thread and waits at most the
// query limit (2 seconds unless set): a drive that has not answered by then
// is reported as not answered (kind DRIVE_UNKNOWN, empty label), and the
// helper is left to finish on its own. While that question is still open, a
// new query of the same drive answers "not answered" at once, so helpers
// never pile up behind one dead mount.
//
// The drive table is read on the calling thread (the label comes from it,
// as GetVolumeInformationA's does); the helper only asks the file system
// for the drive's kind, as GetDriveTypeA decides it (Volume.h). A root
// that names no mapped drive answers at once (DRIVE_NO_ROOT_DIR).
//
// The prober is the seam: tests install one that stands for a drive that
// never answers.
#pragma once

#include <functional>
#include <string>

#include "platform/Volume.h"

namespace platform {

struct VolumeFacts {
  bool answered = false;      // false: no answer within the limit
  UINT type = DRIVE_UNKNOWN;  // DRIVE_* (Volume.h)
  std::string label;          // "" when there is none or it cannot be read
};

class VolumeProber {
public:
  virtual ~VolumeProber() = default;
  // The facts of the drive `root` ("C:\"); may block. Called on a helper
  // thread: it must be safe to call from any thread and must not use the
  // drive table.
  virtual VolumeFacts Probe(const std::string& root) = 0;
};

// Installs a prober (not owned; it must outlive every call it gets); null
// puts the default back. Returns the previous one (null for the default).
VolumeProber* SetVolumeProber(VolumeProber* prober);

// Sets how long a query waits for an answer; returns the previous limit.
int SetVolumeQueryLimit(int milliseconds);

// The facts of the drive `root`, or "not answered" after the limit.
// `whileWaiting`, when given, is called about every 50 ms while the answer
// is awaited (a caller keeps its windows painted with it).
VolumeFacts QueryVolume(const std::string& root,
                        const std::function<void()>& whileWaiting = {});

}  // namespace platform
