// The typing limit of an edit field. The original limit stops the user from
// typing more characters but never cuts a text the program sets, while Qt's
// maximum length also cuts a text set by the program. So the field's
// maximum is kept at the larger of the limit and the text's length: typing
// stops at the limit, a longer text set by the program stays whole and can
// be shortened.
#pragma once

#include <QLineEdit>

#include "platform/WinUser.h"

namespace platform::ui {

// Follows the field's text from now on.
void InstallTextLimit(QLineEdit& edit, HWND handle);
// Sets the field's text, which may be longer than the limit.
void SetTextBeyondLimit(QLineEdit& edit, const QString& text);
// Applies a changed limit.
void ApplyTextLimit(QLineEdit& edit, UINT limit);

}  // namespace platform::ui
