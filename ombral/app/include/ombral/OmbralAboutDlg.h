// COmbralAboutDlg: the about box (icon, program name and version, notice).
#pragma once

#include "ombral/OmbralResource.h"
#include "platform/Dialog.h"

class COmbralAboutDlg : public CDialog {
public:
  enum { IDD = IDD_ABOUTBOX };

  explicit COmbralAboutDlg(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
};
