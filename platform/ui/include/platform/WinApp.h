// CWinApp: the application object. A program defines exactly one object of
// a class derived from CWinApp at namespace scope and calls AfxWinMain from
// main(); AfxWinMain starts the window system, puts the command-line tail
// into m_lpCmdLine and runs InitInstance. When InitInstance returns FALSE
// (a dialog program whose dialog has ended) the program ends with
// ExitInstance's result; otherwise Run processes events until the main
// window is gone.
#pragma once

#include <string>
#include <vector>

#include "platform/Object.h"
#include "platform/WinUser.h"

class CWnd;

class CWinApp : public CObject {
public:
  // Registers the object as the application; `appName` (or the program's
  // file name) becomes the caption of message boxes without one.
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  virtual int Run();
  virtual int ExitInstance();  // the process's exit code; the base gives 0

  // The program's icon with that resource id; null when there is none.
  HICON LoadIcon(UINT id) const;
  // Controls always have their three-dimensional look here; kept for the
  // programs that ask for it. Always TRUE.
  BOOL Enable3dControls() { return TRUE; }

  const char* m_pszAppName = nullptr;
  // The command-line tail: the arguments after the program name, joined by
  // single blanks (the shell has already removed quotes); "" without any.
  char* m_lpCmdLine = nullptr;
  CWnd* m_pMainWnd = nullptr;

private:
  friend int AfxWinMain(int argc, char** argv);
  std::string m_appName;
  std::string m_commandLine;
};

// The application object; null when none exists.
CWinApp* AfxGetApp();
// The application's main window; null when there is none.
CWnd* AfxGetMainWnd();
// Runs the application object (see the banner); returns the exit code.
int AfxWinMain(int argc, char** argv);

namespace platform {

// The arguments the program was started with (AfxWinMain records them),
// program name first.
const std::vector<std::string>& GetProgramArguments();
// The command-line tail of the given arguments.
std::string JoinCommandTail(int argc, const char* const* argv);

// The window system, started for as long as the object lives: the display
// connection (the offscreen platform when QT_QPA_PLATFORM says so), the
// check that a font is installed (a warning on standard error when none is:
// texts would show as boxes). The command line is not given to the window
// system: the program's arguments belong to the program.
class WindowSystem {
public:
  explicit WindowSystem(const char* programName);
  ~WindowSystem();
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  // Processes events until the last window is closed; the exit code.
  int Run();
  // True when a font is installed.
  bool HasFonts() const { return m_hasFonts; }

private:
  struct Impl;
  Impl* m_impl;
  bool m_hasFonts = false;
};

// Installs the desktop implementations of the message-box, picker and shell
// handlers (real boxes and pickers, the desktop's "open"). AfxWinMain does
// this; tests install recording handlers instead.
void InstallDesktopHandlers();

}  // namespace platform
