// CZnDialog: a dialog base with helpers to centre a window, keep a window
// on top and read the names of an id list file; and (ZnListBox.h) the log
// list box CZnListBox.
//
// An id list file is a binary file of records of one size (at least 30
// bytes). Each record begins with a zero-terminated name of at most 29
// characters in its first 30 bytes; a record whose first byte is zero is
// empty; the rest of a record is not read.
#pragma once

#include <cstddef>

#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "znwidgets/ZnListBox.h"

class CZnDialog : public CDialog {
public:
  CZnDialog() = default;
  ~CZnDialog() override = default;

  // Moves `window` (keeping its size) so that its centre is the centre of
  // `relativeTo`, or of the screen's free area (see GetSystemMetrics'
  // SM_CXFULLSCREEN) when `relativeTo` is null; halves round toward zero.
  // Does nothing when either handle is dead.
  void CenterTheWindow(HWND relativeTo, HWND window);
  // Puts `window` into the always-on-top band (non-zero) or takes it out
  // (zero), without moving, resizing or activating it.
  void SetTopMost(HWND window, int topMost);

  // The names of the non-empty records of the id list file `path`, joined by
  // "|", into `text`; returns `text`. `text` stays empty when the file
  // cannot be opened, when its size is not a whole number of records, or
  // when `recordSize` is below 30. A name that fills all 30 bytes without a
  // terminator is read as its first 29 characters.
  //
  // Prefer the sized form: it never writes more than `textSize` bytes and
  // stops after the last whole name (with its separator) that fits with the
  // terminator. The form without a size writes every name, so its buffer
  // must hold the whole joined text: size it from the file (at most 30
  // bytes per record).
  char* CopyIdList(const char* path, unsigned int recordSize, char* text, std::size_t textSize);
  char* CopyIdList(const char* path, unsigned int recordSize, char* text);

  // Reserved: they do nothing and return null or 0.
  char* CopyIdListDec(char* path, unsigned int recordSize, char* text, char* decimals);
  int InitIdList(CComboBox* combo, CListBox* list, char* path, unsigned int recordSize, char* text);
  int InitIdListDec(CComboBox* combo, CListBox* list, char* path, unsigned int recordSize,
                    char* text, char* decimals);
  int InitIdListFromFiles(CComboBox* combo, CListBox* list, char* path, unsigned int recordSize);
};
