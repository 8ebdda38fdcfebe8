// CComboBox: a drop-down list of a dialog. Only the type exists: members
// of the libraries that take one are reserved and do not use it.
#pragma once

#include "platform/Wnd.h"

class CComboBox : public CWnd {};
