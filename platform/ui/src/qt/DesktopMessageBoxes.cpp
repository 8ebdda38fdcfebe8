// Message boxes as QMessageBox dialogs.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "DesktopHandlers.h"
#include "QtText.h"
#include "WindowRegistry.h"
#include "platform/WinUser.h"

namespace platform::ui {
namespace {

inline constexpr UINT kAbortRetryIgnore = 0x02;
inline constexpr UINT kRetryCancel = 0x05;
inline constexpr UINT kDefaultButtonMask = 0xF00;  // MB_DEFBUTTON2 = 0x100, 3 = 0x200

struct Answer {
  QMessageBox::StandardButton button;
  int id;
};

std::vector<Answer> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case kAbortRetryIgnore:
      return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY},
              {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
      return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
      return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case kRetryCancel:
      return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
      return {{QMessageBox::Ok, IDOK}};
  }
}

QMessageBox::Icon IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

class QtMessageBoxes : public MessageBoxHandler {
public:
  int Show(HWND owner, const char* text, const char* caption, UINT type) override {
    QMessageBox box(OwnerWidget(owner));
    box.setWindowTitle(ToQt(caption ? caption : ""));
    box.setTextFormat(Qt::PlainText);  // a path with '<' is text, not markup
    box.setText(ToQt(text ? text : ""));
    box.setIcon(IconOf(type));
    const std::vector<Answer> answers = ButtonsOf(type);
    for (const Answer& answer : answers) box.addButton(answer.button);
    const std::size_t first = ((type & kDefaultButtonMask) >> 8) % answers.size();
    box.setDefaultButton(answers[first].button);
    box.exec();
    const QMessageBox::StandardButton chosen = box.standardButton(box.clickedButton());
    for (const Answer& answer : answers) {
      if (answer.button == chosen) return answer.id;
    }
    // Closed without a button: the cancel answer where there is one.
    return answers.size() > 1 ? answers.back().id : answers.front().id;
  }
};

}  // namespace

QWidget* OwnerWidget(HWND owner) {
  if (QWidget* widget = WidgetOf(owner)) return widget->window();
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

MessageBoxHandler& DesktopMessageBoxes() {
  static QtMessageBoxes handler;
  return handler;
}

}  // namespace platform::ui
