#include "platform/testing/UiDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStyle>
#include <QStyleOptionButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QDropEvent>
#include <QUrl>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "../../src/qt/Dispatch.h"
#include "../../src/qt/QtText.h"
#include "../../src/qt/WindowRegistry.h"
#include "platform/Dialog.h"
#include "platform/Menu.h"

namespace platform::testing {
namespace {

using ui::FromQt;
using ui::ToQt;

QWidget* Control(const CWnd& dialog, int id) {
  CWnd* control = dialog.GetDlgItem(id);
  QWidget* widget = control ? ui::WidgetOf(control->m_hWnd) : nullptr;
  if (!widget) ADD_FAILURE() << "The dialog has no control " << id;
  return widget;
}

Qt::Key QtKey(Key key) {
  switch (key) {
    case Key::Enter:
      return Qt::Key_Return;
    case Key::Escape:
      return Qt::Key_Escape;
    case Key::Space:
      return Qt::Key_Space;
    case Key::Tab:
      break;
  }
  return Qt::Key_Tab;
}

// Where a click hits: a check box's box, the middle of anything else.
QPoint ClickPoint(QWidget& widget) {
  if (auto* box = qobject_cast<QCheckBox*>(&widget)) {
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
  }
  return widget.rect().center();
}

// Key presses for each character; those without a key of their own (not
// ASCII) come as key events that carry just the text, as from an input
// method.
void TypeKeys(QWidget& widget, const QString& text) {
  for (char32_t code : text.toUcs4()) {
    if (code >= 0x20 && code < 0x7F) {
      QTest::keyClick(&widget, static_cast<char>(code));
    } else {
      QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown, QString::fromUcs4(&code, 1),
                          Qt::NoModifier);
    }
  }
}

}  // namespace

void Click(const CWnd& dialog, int id) {
  if (QWidget* widget = Control(dialog, id)) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, ClickPoint(*widget));
  }
}

void Type(const CWnd& dialog, int id, const std::string& utf8) {
  if (QWidget* widget = Control(dialog, id)) {
    widget->setFocus(Qt::OtherFocusReason);
    TypeKeys(*widget, ToQt(utf8));
  }
}

void Retype(const CWnd& dialog, int id, const std::string& utf8) {
  if (QWidget* widget = Control(dialog, id)) {
    widget->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    if (utf8.empty()) QTest::keyClick(widget, Qt::Key_Delete);
    TypeKeys(*widget, ToQt(utf8));
  }
}

void DropFiles(const CWnd& dialog, int id, const std::vector<std::string>& nativePaths) {
  QWidget* target = id ? Control(dialog, id) : platform::ui::WidgetOf(dialog.m_hWnd);
  ASSERT_NE(target, nullptr) << "no control " << id;
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& path : nativePaths) urls.append(QUrl::fromLocalFile(ToQt(path)));
  data.setUrls(urls);
  const QPoint middle = target->rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return;
  QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  ProcessEvents();
}

void Press(const CWnd& window, Key key, int id) {
  QWidget* target = id ? Control(window, id) : nullptr;
  if (!id) {
    // The control that has the focus in the window (the window need not be
    // the active one).
    QWidget* top = ui::WidgetOf(window.m_hWnd);
    QWidget* focus = top ? top->focusWidget() : nullptr;
    target = focus ? focus : top;
  }
  if (target) QTest::keyClick(target, QtKey(key));
}

void ClickCloseBox(const CWnd& window) {
  if (QWidget* widget = ui::WidgetOf(window.m_hWnd)) widget->window()->close();
}

bool ChooseSystemMenuItem(const CWnd& window, UINT id) {
  QPointer<QMenu> menu = ui::ShowSystemMenu(window.m_hWnd, QPoint(0, 0));
  if (!menu) return false;
  QPointer<QAction> chosen;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator() && action->data().toUInt() == id && action->isEnabled()) {
      chosen = action;
    }
  }
  // The menu closes before the command runs, as a real menu does.
  menu->close();
  if (chosen) chosen->trigger();
  return chosen != nullptr;
}

std::vector<std::string> ListLines(const CWnd& dialog, int id) {
  std::vector<std::string> lines;
  if (auto* list = qobject_cast<QListWidget*>(Control(dialog, id))) {
    for (int row = 0; row < list->count(); ++row) lines.push_back(FromQt(list->item(row)->text()));
  }
  return lines;
}

int ListSelection(const CWnd& dialog, int id) {
  auto* list = qobject_cast<QListWidget*>(Control(dialog, id));
  if (!list || list->selectedItems().isEmpty()) return -1;
  return list->row(list->selectedItems().first());
}

std::string ShownText(const CWnd& dialog, int id) {
  QWidget* widget = Control(dialog, id);
  if (auto* label = qobject_cast<QLabel*>(widget)) return FromQt(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return FromQt(button->text());
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return FromQt(edit->text());
  if (auto* box = qobject_cast<QGroupBox*>(widget)) return FromQt(box->title());
  return {};
}

std::string AccessibleName(const CWnd& dialog, int id) {
  QWidget* widget = Control(dialog, id);
  return widget ? FromQt(widget->accessibleName()) : std::string();
}

void PressAlt(const CWnd& window, char letter) {
  QWidget* widget = platform::ui::WidgetOf(window.m_hWnd);
  if (!widget) return;
  const int key = Qt::Key_A + (std::tolower(static_cast<unsigned char>(letter)) - 'a');
  QTest::keyClick(widget, static_cast<Qt::Key>(key), Qt::AltModifier);
  ProcessEvents();
}

bool HasFocus(const CWnd& dialog, int id) {
  QWidget* widget = Control(dialog, id);
  return widget && widget->window()->focusWidget() == widget;
}

std::vector<std::string> SystemMenuTexts(const CWnd& window) {
  std::vector<std::string> texts;
  if (CMenu* menu = window.GetSystemMenu(FALSE)) {
    for (const CMenu::Item& item : menu->Items()) texts.push_back(item.text);
  }
  return texts;
}

void Post(std::function<void()> action) {
  QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
}

void ProcessEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

CWnd* ActiveModalWindow() {
  return CWnd::FromHandle(ui::HandleOf(QApplication::activeModalWidget()));
}

bool RunEventsUntil(const std::function<bool()>& done, int milliseconds) {
  if (done()) return true;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(milliseconds, &loop, [&] { loop.quit(); });
  poll.start(5);
  loop.exec();
  return done();
}

int TimerLatency(int interval, int limit) {
  QElapsedTimer clock;
  int fired = -1;
  QEventLoop loop;
  clock.start();
  QTimer::singleShot(interval, &loop, [&] {
    fired = static_cast<int>(clock.elapsed());
    loop.quit();
  });
  QTimer::singleShot(limit, &loop, [&] { loop.quit(); });
  loop.exec();
  return fired;
}

struct ModalTimeout::Impl {
  QTimer timer;
};

ModalTimeout::ModalTimeout(int milliseconds) : m_impl(new Impl) {
  m_impl->timer.setSingleShot(true);
  QObject::connect(&m_impl->timer, &QTimer::timeout, [] {
    for (int round = 0; round < 16; ++round) {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) break;
      ADD_FAILURE() << "A modal window was still open: " << FromQt(modal->windowTitle());
      if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(ui::HandleOf(modal)))) {
        dialog->EndDialog(-1);
      } else {
        modal->close();
      }
    }
  });
  m_impl->timer.start(milliseconds);
}

ModalTimeout::~ModalTimeout() { delete m_impl; }

}  // namespace platform::testing
