// CButton: push buttons, check boxes and group boxes of a dialog.
#pragma once

#include "platform/Wnd.h"

class CButton : public CWnd {
public:
  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; 0 for a push button.
  int GetCheck() const;
  // Sets the state of a check box (an indeterminate state needs a
  // three-state box); push buttons ignore it. Sends no notification.
  void SetCheck(int check);
};
