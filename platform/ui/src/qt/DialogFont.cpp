#include "DialogFont.h"

#include <QFontMetricsF>
#include <QString>
#include <cstring>

namespace platform::ui {
namespace {

// The faces dialogs name on the original desktop; all stand for "the
// system's sans-serif" there.
bool IsDesktopDialogFace(const char* face) {
  static const char* const kFaces[] = {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2",
                                       "Microsoft Sans Serif", "System", "Helv"};
  for (const char* known : kFaces) {
    if (std::strcmp(face, known) == 0) return true;
  }
  return false;
}

}  // namespace

QFont DialogFont(const char* face, int pointSize) {
  const bool generic = !face || !*face || IsDesktopDialogFace(face);
  QFont font(generic ? QStringLiteral("Sans Serif") : QString::fromUtf8(face));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(pointSize > 0 ? pointSize : 8);
  return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetricsF metrics(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  DialogBaseUnits units;
  units.charWidth = metrics.horizontalAdvance(letters) / 52.0;
  units.charHeight = metrics.height();
  return units;
}

}  // namespace platform::ui
