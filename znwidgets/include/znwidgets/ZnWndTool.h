/// @file
/// CZnWndTool: file and folder pickers and the document launcher.
#pragma once

#include "platform/Wnd.h"
#include "platform/WinUser.h"
#include "zncore/ZnString.h"

/// The size of ExecuteFile's message buffer; a message never takes more,
/// terminator included.
/// @ingroup znwidgets_tools
inline constexpr int ZN_EXECUTE_MESSAGE_SIZE = 500;

/// Asks the user for one file or one folder through the desktop's pickers and
/// opens a document with the program the desktop associates with it.
///
/// The class is stateless: create one on the stack for each use. Every
/// member returns 1 when done and 0 when not (the user cancelled, the picker
/// failed, or the answer does not fit), except ExecuteFile. A member that
/// returns 0 leaves every output as it was: buffer, string, window text and
/// copy buffer. None of them raises.
///
/// Path buffers hold MAX_PATH (260) bytes. A chosen path that does not fit
/// into the caller's 260-byte buffer (paths may be longer on this system) is
/// refused with 0 instead of being cut; the CZnString and window forms take
/// paths of any length.
/// @ingroup znwidgets_tools
class CZnWndTool {
public:
  /// A tool; it holds no state.
  CZnWndTool() {}
  /// Nothing to free.
  ~CZnWndTool() {}
  /// Another tool (there is nothing to copy).
  CZnWndTool(const CZnWndTool&) {}
  /// Copies nothing; returns this tool.
  CZnWndTool& operator=(const CZnWndTool&) { return *this; }

  /// @name File picker
  /// @{

  /// Shows the open-file picker and writes the answer into `result` (260
  /// bytes; null gives 0).
  ///  - `owner`: the window the picker belongs to (may be null);
  ///  - `title`: null or "" for the picker's own title;
  ///  - `initialFolder`: null leaves the start to the picker; "" starts in the
  ///    current directory; otherwise that folder;
  ///  - `filterList`: pairs of zero-terminated texts (description, patterns)
  ///    ended by an extra zero byte; null or "" gives "All files (*.*)";
  ///  - `mode`: 1 the full path; 2 its drive and folder; 3 the name when the
  ///    path contains the initial folder (case-free), else the full path;
  ///    any other value the name with extension. Trailing backslashes are
  ///    removed, so a file at a drive's root gives "C:" in mode 2.
  ///
  /// A confirmed picker with an empty answer gives 1 and "" in mode 2 and 0
  /// in the other modes.
  int GetFileSelection(char* result, HWND owner, const char* title, const char* initialFolder,
                       const char* filterList, int mode);
  /// The same into a string, which takes a path of any length.
  int GetFileSelection(CZnString& result, HWND owner, const char* title,
                       const char* initialFolder, const char* filterList, int mode);
  /// The same as the text of `target` (an edit field, typically) and, when
  /// `copy` is not null, in `copy` too (260 bytes; an answer that does not
  /// fit there gives 0 and changes nothing). 0 for a null target or one
  /// without a window.
  int GetFileSelection(CWnd* target, HWND owner, const char* title, const char* initialFolder,
                       const char* filterList, int mode, char* copy);
  /// @}

  /// @name Folder picker
  /// `title` is the instruction shown with the picker (null or "" for none);
  /// the fourth text is accepted and not used.
  /// @{

  /// Shows the folder picker and writes the chosen folder into `result`
  /// (260 bytes; null gives 0).
  int GetFolderSelection(char* result, HWND owner, const char* title, const char* unused);
  /// The same into a string, which takes a path of any length.
  int GetFolderSelection(CZnString& result, HWND owner, const char* title, const char* unused);
  /// The same as the text of `target` and, when `copy` is not null, in
  /// `copy` too (260 bytes; an answer that does not fit there gives 0 and
  /// changes nothing). 0 for a null target or one without a window.
  int GetFolderSelection(CWnd* target, HWND owner, const char* title, const char* unused,
                         char* copy);
  /// @}

  /// @name Opening a document
  /// @{

  /// Opens `path` (null counts as "") with its associated program. Returns 0
  /// when done, else the shell's failure code (1 to 32; the shell's own 0,
  /// out of resources, also comes back as 0). For the codes 2, 3, 5, 8, 11
  /// and 26 to 32 it writes an English message into `message` (when not
  /// null) that fits ZN_EXECUTE_MESSAGE_SIZE bytes; other results leave the
  /// buffer alone. When the desktop said why the opening failed (the opener
  /// ended with an error and its words), the message names the file and
  /// gives that reason instead of the code's fixed text ("The file P:\a.html
  /// could not be opened: xdg-open ended with status 4: ..."), for any code.
  /// Shows nothing and never throws: a failure inside gives 8 (not enough
  /// memory) with its message.
  int ExecuteFile(HWND owner, const char* path, char* message);
  /// @}
};
