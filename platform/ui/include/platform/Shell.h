// The desktop shell's "open": a document (or folder) is opened with the
// program the desktop associates with it.
//
// ShellExecute first checks the document itself, the same for every handler:
// a missing file is SE_ERR_FNF, a missing folder on the way SE_ERR_PNF, a
// document the user may not read SE_ERR_ACCESSDENIED. Only then does the
// installed handler open it. The default handler (nothing installed) opens
// nothing and answers SE_ERR_NOASSOC after a note on standard error; the
// desktop handler runs the desktop's opener (xdg-open) as a program, never
// through a shell, and maps its outcome to these codes; tests install one
// that records the request.
#pragma once

#include <string>

#include "platform/WinUser.h"

// Results: above 32 means done; these are the failures.
inline constexpr int SE_ERR_OOM = 0;  // out of resources
inline constexpr int SE_ERR_FNF = 2;
inline constexpr int SE_ERR_PNF = 3;
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_NOMEMORY = 8;
inline constexpr int SE_ERR_BADFORMAT = 11;
inline constexpr int SE_ERR_SHARE = 26;
inline constexpr int SE_ERR_ASSOCINCOMPLETE = 27;
inline constexpr int SE_ERR_DDETIMEOUT = 28;
inline constexpr int SE_ERR_DDEFAIL = 29;
inline constexpr int SE_ERR_DDEBUSY = 30;
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int SE_ERR_DLLNOTFOUND = 32;
inline constexpr int SE_DONE = 42;  // what a successful open returns

namespace platform {

struct ShellRequest {
  HWND owner = nullptr;
  std::string verb;        // "open"
  std::string file;        // as the caller gave it
  std::string nativePath;  // the absolute POSIX path of the document
  std::string parameters;
  std::string directory;
  int show = SW_SHOWNORMAL;
};

class ShellHandler {
public:
  virtual ~ShellHandler() = default;
  // Opens an existing, readable document; a result as ShellExecute's.
  virtual int Open(const ShellRequest& request) = 0;
};

// Installs a handler (not owned); null puts the default back. Returns the
// previous one (null for the default).
ShellHandler* SetShellHandler(ShellHandler* handler);

// The shell code for an exit status of the desktop's opener (xdg-open):
// 0 done, 1 bad command line, 2 file missing, 3 no tool to open it with,
// 4 the opening failed; anything else counts as "no association".
int ShellCodeFromOpenerExit(int exitStatus);

// Why the last ShellExecute of this thread failed, in words, when the
// handler could tell: for the desktop handler, the opener's exit status and
// the last line it wrote to its error output ("xdg-open ended with status 4:
// Running as root without --no-sandbox is not supported."). Empty after a
// success, after a failure without words, and before any ShellExecute.
std::string ShellFailureReason();
// For handlers: the words of the failure Open is about to return.
void SetShellFailureReason(std::string reason);

// The desktop handler: how long it waits for the opener to finish before it
// takes the opening as done (some openers stay until the document's program
// ends). The default is 5000 ms.
void SetOpenerWaitLimit(int milliseconds);

}  // namespace platform

// Opens `file` with the verb "open" (a null verb is "open"; other verbs are
// not supported and give SE_ERR_NOASSOC). Parameters and directory are
// passed to the handler. Returns a value above 32 when done, else the
// SE_ERR_* failure.
int ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                 const char* directory, int show);
