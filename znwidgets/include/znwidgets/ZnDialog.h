/// @file
/// CZnDialog: a dialog base with window and id list helpers; and
/// (ZnListBox.h) the log list box CZnListBox.
#pragma once

#include <cstddef>

#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "znwidgets/ZnListBox.h"

/// A dialog base with helpers to centre a window, keep a window on top and
/// read the names of an id list file.
///
/// An id list file is a binary file of records of one size (at least 30
/// bytes). Each record begins with a zero-terminated name of at most 29
/// characters in its first 30 bytes; a record whose first byte is zero is
/// empty; the rest of a record is not read.
///
/// The helpers work on any window and any file; they do not need the dialog's
/// own window.
/// @ingroup znwidgets_tools
class CZnDialog : public CDialog {
public:
  /// A dialog without a template, as CDialog's default constructor.
  CZnDialog() = default;
  /// Ends as a CDialog does: a window this object made goes with it.
  ~CZnDialog() override = default;

  /// Moves `window` (keeping its size) so that its centre is the centre of
  /// `relativeTo`, or of the screen's free area (see GetSystemMetrics'
  /// SM_CXFULLSCREEN) when `relativeTo` is null; halves round toward zero.
  /// Does nothing when either handle is dead.
  void CenterTheWindow(HWND relativeTo, HWND window);
  /// Puts `window` into the always-on-top band (non-zero) or takes it out
  /// (zero), without moving, resizing or activating it.
  void SetTopMost(HWND window, int topMost);

  /// The names of the non-empty records of the id list file `path`, joined by
  /// "|", into `text`; returns `text`. `text` stays empty when the file
  /// cannot be opened (null too), when its size is not a whole number of
  /// records, or when `recordSize` is below 30. A name that fills all 30
  /// bytes without a terminator is read as its first 29 characters. A read
  /// error ends the list where it happened.
  ///
  /// Prefer the sized form: it never writes more than `textSize` bytes and
  /// stops after the last whole name (with its separator) that fits with the
  /// terminator. The form without a size writes every name, so its buffer
  /// must hold the whole joined text: size it from the file (at most 30
  /// bytes per record). A null `text`, or a `textSize` of 0, writes nothing.
  char* CopyIdList(const char* path, unsigned int recordSize, char* text, std::size_t textSize);
  /// The form without a size: see above. Its buffer must hold the whole
  /// joined text; a null `text` writes nothing.
  char* CopyIdList(const char* path, unsigned int recordSize, char* text);

  /// @name Reserved
  /// Each does nothing and returns null or 0.
  /// @{

  /// Reserved: returns null.
  char* CopyIdListDec(char* path, unsigned int recordSize, char* text, char* decimals);
  /// Reserved: returns 0; fills nothing.
  int InitIdList(CComboBox* combo, CListBox* list, char* path, unsigned int recordSize, char* text);
  /// Reserved: returns 0; fills nothing.
  int InitIdListDec(CComboBox* combo, CListBox* list, char* path, unsigned int recordSize,
                    char* text, char* decimals);
  /// Reserved: returns 0; fills nothing.
  int InitIdListFromFiles(CComboBox* combo, CListBox* list, char* path, unsigned int recordSize);
  /// @}
};
