#include "platform/testing/UiRecorders.h"

#include "platform/WinApp.h"

namespace platform::testing {

RecordingMessageBoxes::RecordingMessageBoxes() : m_previous(SetMessageBoxHandler(this)) {}

RecordingMessageBoxes::~RecordingMessageBoxes() { SetMessageBoxHandler(m_previous); }

std::vector<std::string> RecordingMessageBoxes::Texts() const {
  std::vector<std::string> texts;
  for (const Box& box : m_boxes) texts.push_back(box.text);
  return texts;
}

int RecordingMessageBoxes::Show(HWND owner, const char* text, const char* caption, UINT type) {
  m_boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
  if (!m_answers.empty()) {
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }
  const UINT buttons = type & MB_TYPEMASK;
  return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

RecordingPickers::RecordingPickers() : m_previous(SetPickerHandler(this)) {}

RecordingPickers::~RecordingPickers() { SetPickerHandler(m_previous); }

bool RecordingPickers::Next(std::string& path) {
  if (m_answers.empty()) return false;
  std::optional<std::string> answer = std::move(m_answers.front());
  m_answers.pop_front();
  if (!answer) return false;
  path = *answer;
  return true;
}

bool RecordingPickers::PickFile(const OpenFileRequest& request, std::string& path) {
  m_files.push_back(request);
  return Next(path);
}

bool RecordingPickers::PickFolder(const FolderRequest& request, std::string& path) {
  m_folders.push_back(request);
  return Next(path);
}

RecordingShell::RecordingShell() : m_previous(SetShellHandler(this)) {}

RecordingShell::~RecordingShell() { SetShellHandler(m_previous); }

int RecordingShell::Open(const ShellRequest& request) {
  m_requests.push_back(request);
  if (!m_reason.empty()) SetShellFailureReason(m_reason);
  return m_code;
}

ScopedDesktopHandlers::ScopedDesktopHandlers() { InstallDesktopHandlers(); }

ScopedDesktopHandlers::~ScopedDesktopHandlers() {
  SetMessageBoxHandler(nullptr);
  SetPickerHandler(nullptr);
  SetShellHandler(nullptr);
}

}  // namespace platform::testing
