// A scan front end for tests: records what the run reports.
#pragma once

#include <string>
#include <vector>

#include "ombral/OmbralScan.h"

class CRecordingScan : public COmbralScan {
public:
  std::vector<std::string> protocol;
  std::vector<std::string> warnings;
  std::vector<std::string> statuses;
  int clears = 0;

  std::string Status() const { return statuses.empty() ? "" : statuses.back(); }

  using COmbralScan::GetLastPathComponent;
  using COmbralScan::IsFilterMatch;
  using COmbralScan::WriteFramesetPage;
  using COmbralScan::WriteImageEntry;
  using COmbralScan::WriteIndexFooter;
  using COmbralScan::WriteIndexHeader;
  using COmbralScan::WriteMainIndexLine;
  using COmbralScan::WriteWelcomePage;

protected:
  void AddProtocolLine(const char* text) override { protocol.emplace_back(text); }
  void ClearProtocol() override {
    protocol.clear();
    ++clears;
  }
  void SetStatusText(const char* text) override { statuses.emplace_back(text); }
  void ShowWarning(const char* text) override { warnings.emplace_back(text); }
};
