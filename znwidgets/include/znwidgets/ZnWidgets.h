/// @file
/// ZnWidgets: the window class library of the suite, built on ZnCore and the
/// platform's window classes. Including this header gives every class.
#pragma once

#include "zncore/ZnCore.h"
#include "znwidgets/ZnDialog.h"
#include "znwidgets/ZnListBox.h"
#include "znwidgets/ZnListCtrl.h"
#include "znwidgets/ZnProgressDlg.h"
#include "znwidgets/ZnTreeCtrl.h"
#include "znwidgets/ZnWndTool.h"
