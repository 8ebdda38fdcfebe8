// CScanReports: what a scan on its own thread reports to the dialog (lines,
// the protocol emptied, status texts, warnings), kept in order until the
// dialog's thread shows it.
//
// The scan adds one report at a time and never waits for the dialog; the
// dialog takes everything waiting at once. Add says when the queue was
// empty: only then must the dialog be called to collect, so a batch of
// reports costs one call, however many it holds.
#pragma once

#include <mutex>
#include <string>
#include <vector>

struct ScanReport {
  enum Kind { kLine, kClear, kStatus, kWarning };
  Kind kind;
  std::string text;
};

class CScanReports {
public:
  // Queues a report; true when nothing was waiting before.
  bool Add(ScanReport::Kind kind, const char* text);
  // Everything waiting, oldest first; the queue is empty afterwards.
  std::vector<ScanReport> TakeAll();
  // Puts reports taken but not shown back in front of those waiting; true
  // when nothing was waiting before.
  bool PutBack(std::vector<ScanReport> reports);

private:
  std::mutex m_mutex;
  std::vector<ScanReport> m_waiting;
};
