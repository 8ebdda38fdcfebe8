// Builds a dialog's controls from its template and connects their
// notifications to the dialog's OnCommand.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "../common/UiText.h"
#include "ControlMakers.h"
#include "DialogFont.h"
#include "DialogWidget.h"
#include "Dispatch.h"
#include "TextLimit.h"
#include "IconPixmap.h"
#include "QtText.h"
#include "WindowRegistry.h"

namespace platform::ui {
namespace {

// A check box that leaves its state to the program (BS_CHECKBOX, BS_3STATE).
class ManualCheckBox : public QCheckBox {
public:
  using QCheckBox::QCheckBox;

protected:
  void nextCheckState() override {}
};

QWidget* MakeButton(const DialogItem& item, QWidget& dialog) {
  const DWORD type = item.style & BS_TYPEMASK;
  if (type == BS_GROUPBOX) return new QGroupBox(ToQt(item.text ? item.text : ""), &dialog);
  if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
      type == BS_AUTO3STATE) {
    const bool automatic = type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE;
    QCheckBox* box = automatic ? new QCheckBox(&dialog) : new ManualCheckBox(&dialog);
    box->setText(ToQt(item.text ? item.text : ""));
    box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
    return box;
  }
  auto* button = new QPushButton(ToQt(item.text ? item.text : ""), &dialog);
  button->setAutoDefault(true);
  if (type == BS_DEFPUSHBUTTON) button->setDefault(true);
  return button;
}

QWidget* MakeStatic(const DialogItem& item, QWidget& dialog, std::string& text) {
  auto* label = new QLabel(&dialog);
  label->setTextFormat(Qt::PlainText);
  label->setMargin(0);
  label->setIndent(0);
  const DWORD type = item.style & SS_TYPEMASK;
  if (type == SS_ICON) return label;
  const Qt::Alignment align = type == SS_CENTER ? Qt::AlignHCenter
                              : type == SS_RIGHT ? Qt::AlignRight
                                                 : Qt::AlignLeft;
  label->setAlignment(align | Qt::AlignTop);
  label->setWordWrap(type != SS_LEFTNOWORDWRAP);
  text = item.text ? item.text : "";
  label->setText(ToQt((item.style & SS_NOPREFIX) ? text : StripMnemonics(text)));
  return label;
}

QWidget* MakeListBox(const DialogItem& item, QWidget& dialog) {
  auto* list = new QListWidget(&dialog);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setUniformItemSizes(true);
  list->setHorizontalScrollBarPolicy((item.style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                               : Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy((item.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                             : Qt::ScrollBarAlwaysOff);
  return list;
}

// Notifications go to the dialog as OnCommand calls with the control's id.
void Connect(QWidget* widget, const WindowData& control, HWND dialog) {
  const HWND handle = control.handle;
  const int id = control.controlId;
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    QObject::connect(button, &QAbstractButton::clicked,
                     [=] { SendCommand(dialog, id, BN_CLICKED, handle); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    QObject::connect(edit, &QLineEdit::textChanged,
                     [=] { SendCommand(dialog, id, EN_CHANGE, handle); });
  } else if (auto* list = qobject_cast<QListWidget*>(widget); list && (control.style & LBS_NOTIFY)) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, [=] {
      WindowData* data = FindWindow(handle);
      if (data && !data->programmaticChange) SendCommand(dialog, id, LBN_SELCHANGE, handle);
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked,
                     [=] { SendCommand(dialog, id, LBN_DBLCLK, handle); });
  }
}

QWidget* MakeControl(const DialogItem& item, DialogWidget& dialog, std::string& text) {
  switch (item.kind) {
    case ControlKind::Button:
      return MakeButton(item, dialog);
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(&dialog);
      if (item.style & ES_PASSWORD) edit->setEchoMode(QLineEdit::Password);
      edit->setReadOnly(item.style & ES_READONLY);
      // Typing and pasting keep to digits; the program may still set any text.
      if (item.style & ES_NUMBER) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
      }
      return edit;
    }
    case ControlKind::ListBox:
      return MakeListBox(item, dialog);
    case ControlKind::Static:
      return MakeStatic(item, dialog, text);
    case ControlKind::Progress:
      return MakeProgressBar(item, dialog);
    case ControlKind::ListView:
      return MakeListView(item, dialog);
    case ControlKind::TreeView:
      return MakeTreeView(item, dialog);
  }
  return nullptr;
}

WindowKind KindOf(const DialogItem& item) {
  switch (item.kind) {
    case ControlKind::Button:
      return WindowKind::Button;
    case ControlKind::Edit:
      return WindowKind::Edit;
    case ControlKind::ListBox:
      return WindowKind::ListBox;
    case ControlKind::Progress:
      return WindowKind::Progress;
    case ControlKind::ListView:
      return WindowKind::ListView;
    case ControlKind::TreeView:
      return WindowKind::TreeView;
    case ControlKind::Static:
      break;
  }
  return WindowKind::Static;
}

QWidget* AddControl(const DialogItem& item, DialogWidget& dialog, WindowData& dialogData,
                    std::vector<QWidget*>& groupBoxes) {
  std::string text;
  QWidget* widget = MakeControl(item, dialog, text);
  WindowData* data = &RegisterWindow(widget, KindOf(item));
  data->text = std::move(text);
  data->controlId = item.id;
  data->style = item.style;
  if (auto* button = qobject_cast<QPushButton*>(widget); button && button->isDefault()) {
    dialogData.defaultButton = data->handle;
  }
  if (qobject_cast<QGroupBox*>(widget)) groupBoxes.push_back(widget);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) InstallTextLimit(*edit, data->handle);

  RECT pixels = DialogUnitsToPixels(RECT{item.x, item.y, item.x + item.cx, item.y + item.cy},
                                    dialogData.units);
  if ((item.style & SS_TYPEMASK) == SS_ICON && item.kind == ControlKind::Static) {
    auto* label = static_cast<QLabel*>(widget);
    if (HICON icon = LoadIconResource(item.imageId)) SetLabelIcon(*label, *data, icon);
    const QSize size = label->pixmap().isNull() ? QSize(32, 32) : label->pixmap().size();
    pixels.right = pixels.left + size.width();
    pixels.bottom = pixels.top + size.height();
  }
  widget->setGeometry(pixels.left, pixels.top, pixels.right - pixels.left,
                      pixels.bottom - pixels.top);
  widget->setVisible(item.style & WS_VISIBLE);
  widget->setEnabled(!(item.style & WS_DISABLED));
  if (!(item.style & WS_TABSTOP) && widget->focusPolicy() != Qt::NoFocus) {
    widget->setFocusPolicy(Qt::ClickFocus);
  }
  if (item.kind == ControlKind::ListView) {
    ConnectListView(widget, *data, dialogData.handle);
  } else if (item.kind == ControlKind::TreeView) {
    ConnectTreeView(widget, *data, dialogData.handle);
  } else {
    Connect(widget, *data, dialogData.handle);
  }
  return widget;
}

}  // namespace

void BuildDialog(const DialogTemplate& dialogTemplate, DialogWidget& dialog, WindowData& data) {
  const QFont font = DialogFont(dialogTemplate.fontFace, dialogTemplate.pointSize);
  dialog.setFont(font);
  data.units = BaseUnitsOf(font);
  data.style = dialogTemplate.style;
  data.exStyle = dialogTemplate.exStyle;
  dialog.setWindowTitle(ToQt(dialogTemplate.caption ? dialogTemplate.caption : ""));
  const int width = HorizontalUnitsToPixels(dialogTemplate.cx, data.units);
  const int height = VerticalUnitsToPixels(dialogTemplate.cy, data.units);
  if (dialogTemplate.style & WS_THICKFRAME) {
    dialog.resize(width, height);
  } else {
    dialog.setFixedSize(width, height);
  }
  std::vector<QWidget*> groupBoxes;
  std::vector<QWidget*> widgets;
  for (const DialogItem& item : dialogTemplate.items) widgets.push_back(AddControl(item, dialog, data, groupBoxes));
  // A text label right before a field in the template names it: the field
  // gets the label's words as its accessible name, and a label with a
  // mnemonic ("&Filter:") moves the focus to it with Alt and that letter.
  const std::span<const DialogItem> items = dialogTemplate.items;
  for (std::size_t i = 0; i + 1 < items.size(); ++i) {
    const DialogItem& label = items[i];
    const DialogItem& field = items[i + 1];
    if (label.kind != ControlKind::Static || (label.style & SS_TYPEMASK) == SS_ICON || !label.text) continue;
    if (field.kind != ControlKind::Edit && field.kind != ControlKind::ListBox && field.kind != ControlKind::ListView &&
        field.kind != ControlKind::TreeView)
      continue;
    std::string name = StripMnemonics(label.text);
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) name.pop_back();
    widgets[i + 1]->setAccessibleName(ToQt(name));
    const std::string_view text = label.text;
    const std::size_t mark = text.find('&');
    if (!(label.style & SS_NOPREFIX) && mark != std::string_view::npos && mark + 1 < text.size() && text[mark + 1] != '&') {
      auto* shown = static_cast<QLabel*>(widgets[i]);
      shown->setText(ToQt(label.text));
      shown->setBuddy(widgets[i + 1]);
    }
  }
  // A group box is a frame drawn behind the controls inside it.
  for (QWidget* box : groupBoxes) box->lower();
}

}  // namespace platform::ui
