/// @file
/// CZnWndTool: asks the user for one file or one folder through the
/// desktop's pickers and opens a document with the program the desktop
/// associates with it.
///
/// The class is stateless: create one on the stack for each use. Every
/// member returns 1 when done and 0 when not (the user cancelled, the picker
/// failed, or the answer does not fit), except ExecuteFile. A member that
/// returns 0 leaves every output as it was: buffer, string, window text and
/// copy buffer.
///
/// Path buffers hold MAX_PATH (260) bytes. A chosen path that does not fit
/// into the caller's 260-byte buffer (paths may be longer on this system) is
/// refused with 0 instead of being cut; the CZnString and window forms take
/// paths of any length.
#pragma once

#include "platform/Wnd.h"
#include "platform/WinUser.h"
#include "zncore/ZnString.h"

/// The size of ExecuteFile's message buffer; a message never takes more,
/// terminator included.
inline constexpr int ZN_EXECUTE_MESSAGE_SIZE = 500;

class CZnWndTool {
public:
  CZnWndTool() {}
  ~CZnWndTool() {}
  CZnWndTool(const CZnWndTool&) {}
  CZnWndTool& operator=(const CZnWndTool&) { return *this; }

  // --- File picker ------------------------------------------------------------------
  /// Shows the open-file picker.
  ///   owner: the window the picker belongs to (may be null).
  ///   title: null or "" for the picker's own title.
  ///   initialFolder: null leaves the start to the picker; "" starts in the
  ///     current directory; otherwise that folder.
  ///   filterList: pairs of zero-terminated texts (description, patterns)
  ///     ended by an extra zero byte; null or "" gives "All files (*.*)".
  ///   mode: 1 the full path; 2 its drive and folder; 3 the name when the
  ///     path contains the initial folder (case-free), else the full path;
  ///     any other value the name with extension. Trailing backslashes are
  ///     removed, so a file at a drive's root gives "C:" in mode 2.
  /// A confirmed picker with an empty answer gives 1 and "" in mode 2 and 0
  /// in the other modes.
  int GetFileSelection(char* result, HWND owner, const char* title, const char* initialFolder,
                       const char* filterList, int mode);
  int GetFileSelection(CZnString& result, HWND owner, const char* title,
                       const char* initialFolder, const char* filterList, int mode);
  /// Sets the text of `target` (an edit field, typically) and, when `copy`
  /// is not null, copies the text into it (260 bytes). 0 for a target
  /// without a window.
  int GetFileSelection(CWnd* target, HWND owner, const char* title, const char* initialFolder,
                       const char* filterList, int mode, char* copy);

  // --- Folder picker --------------------------------------------------------------------
  /// Shows the folder picker; `title` is the instruction shown with it (null
  /// or "" for none); the fourth text is accepted and not used.
  int GetFolderSelection(char* result, HWND owner, const char* title, const char* unused);
  int GetFolderSelection(CZnString& result, HWND owner, const char* title, const char* unused);
  int GetFolderSelection(CWnd* target, HWND owner, const char* title, const char* unused,
                         char* copy);

  // --- Opening a document ----------------------------------------------------------------
  /// Opens `path` with its associated program. Returns 0 when done, else the
  /// shell's failure code (0 to 32). For the codes 2, 3, 5, 8, 11 and 26 to 32
  /// it writes an English message into `message` (when not null) that fits
  /// ZN_EXECUTE_MESSAGE_SIZE bytes; other results leave the buffer alone.
  /// Shows nothing and never throws.
  int ExecuteFile(HWND owner, const char* path, char* message);
};
