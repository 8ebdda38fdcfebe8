// COmbralScan: Ombral's scan run, free of any window.
//
// It holds the scan settings under the names the dialog binds to its
// controls, checks them, writes the top-level pages into the folder to scan,
// walks the folder tree and writes a picture page into every folder that
// holds a matching file, and reports what it does through the small
// interface of pure virtual members below. The dialog program implements
// that interface with its protocol list, status line and message boxes; the
// command-line program with standard output and standard error.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/String.h"

class COmbralScan {
public:
  COmbralScan();
  virtual ~COmbralScan();
  COmbralScan(const COmbralScan&) = delete;
  COmbralScan& operator=(const COmbralScan&) = delete;

  // --- Settings (the dialog's defaults) ---------------------------------------
  CString m_strPath;            // folder to scan; empty
  CString m_strIndexFile;       // every folder page: "_FileIndex.html"
  CString m_strFrameFile;       // the frameset page: "_FileIndexFrame.html"
  CString m_strFilter;          // "GIF|JPG|JPEG|BMP|CGI|AVI|MPG|MPEG|RAM|SND|WAV|PNG"
  int m_bOverwrite = 1;         // existing top-level pages may be replaced
  int m_bRecurse = 1;           // walk the whole tree, write index, frameset and welcome page
  int m_bNoLogging = 1;         // no per-folder and per-file protocol lines
  int m_bIgnoreEmptyPaths = 0;  // folders without page get no line in the main index
  int m_bCloseAfterScan = 0;    // the dialog closes after a completed run
  CString m_strMessage;         // the last message or protocol text

  // The run: settings loaded, validated, pages written, statistics reported.
  // True when it ends with the status "SCAN COMPLETED", false when it was
  // cancelled ("SCAN CANCELED!").
  bool RunScan();

protected:
  // --- Reporting, implemented by the front end --------------------------------
  virtual void AddProtocolLine(const char* text) = 0;
  virtual void ClearProtocol() = 0;                  // empties the protocol
  virtual void SetStatusText(const char* text) = 0;  // the status line
  virtual void ShowWarning(const char* text) = 0;    // a warning message box
  // Copies the settings from where the user edits them into the members
  // (the dialog's data exchange); the default does nothing.
  virtual void LoadSettings() {}
  // Called after each folder of the walk; the default does nothing.
  virtual void OnFolderScanned(int /*foldersDone*/, int /*foldersTotal*/) {}
};
