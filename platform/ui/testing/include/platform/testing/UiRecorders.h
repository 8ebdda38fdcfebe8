// Recording handlers for message boxes, pickers and the shell's "open".
// Each installs itself while it lives (and puts the previous handler back),
// records every request and answers it from a queue, so a test never
// blocks in a real dialog.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Pickers.h"
#include "platform/Shell.h"

namespace platform::testing {

class RecordingMessageBoxes : public MessageBoxHandler {
public:
  struct Box {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
  };
  RecordingMessageBoxes();
  ~RecordingMessageBoxes() override;

  // The answers of the next boxes, in order; without one a box gets its
  // first button's answer.
  void Answer(int id) { m_answers.push_back(id); }
  const std::vector<Box>& Boxes() const { return m_boxes; }
  std::vector<std::string> Texts() const;

  int Show(HWND owner, const char* text, const char* caption, UINT type) override;

private:
  MessageBoxHandler* m_previous;
  std::deque<int> m_answers;
  std::vector<Box> m_boxes;
};

class RecordingPickers : public PickerHandler {
public:
  RecordingPickers();
  ~RecordingPickers() override;

  // The next picker's answer: a path, or nullopt for "cancelled". Without
  // one a picker is cancelled.
  void Answer(std::optional<std::string> path) { m_answers.push_back(std::move(path)); }
  const std::vector<OpenFileRequest>& FileRequests() const { return m_files; }
  const std::vector<FolderRequest>& FolderRequests() const { return m_folders; }

  bool PickFile(const OpenFileRequest& request, std::string& path) override;
  bool PickFolder(const FolderRequest& request, std::string& path) override;

private:
  bool Next(std::string& path);

  PickerHandler* m_previous;
  std::deque<std::optional<std::string>> m_answers;
  std::vector<OpenFileRequest> m_files;
  std::vector<FolderRequest> m_folders;
};

class RecordingShell : public ShellHandler {
public:
  RecordingShell();
  ~RecordingShell() override;

  // The code every open returns (SE_DONE unless set), and the words a
  // failure gives for it (ShellFailureReason; none unless set).
  void AnswerWith(int code, std::string reason = {}) {
    m_code = code;
    m_reason = std::move(reason);
  }
  const std::vector<ShellRequest>& Requests() const { return m_requests; }

  int Open(const ShellRequest& request) override;

private:
  ShellHandler* m_previous;
  int m_code = SE_DONE;
  std::string m_reason;
  std::vector<ShellRequest> m_requests;
};

// While it lives, the desktop's own message boxes, pickers and shell are
// installed (for tests of those handlers); afterwards the defaults are back.
class ScopedDesktopHandlers {
public:
  ScopedDesktopHandlers();
  ~ScopedDesktopHandlers();
  ScopedDesktopHandlers(const ScopedDesktopHandlers&) = delete;
  ScopedDesktopHandlers& operator=(const ScopedDesktopHandlers&) = delete;
};

}  // namespace platform::testing
