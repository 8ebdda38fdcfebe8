// Icons loaded from the resources as Qt pictures.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QPixmap>

#include "platform/WinUser.h"

namespace platform::ui {

struct WindowData;

// The icon's picture (made once per icon); a null picture for a null icon.
QPixmap PixmapOf(HICON icon);
// Shows the icon in an icon static and keeps it in the record.
void SetLabelIcon(QLabel& label, WindowData& data, HICON icon);
// A window icon from the large and the small icon (either may be null).
QIcon WindowIconOf(HICON bigIcon, HICON smallIcon);

}  // namespace platform::ui
