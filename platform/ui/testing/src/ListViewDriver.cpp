#include "platform/testing/ListViewDriver.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "../../src/qt/QtText.h"
#include "../../src/qt/WindowRegistry.h"
#include "platform/Wnd.h"

namespace platform::testing {
namespace {

QWidget* WidgetOf(const CWnd& window) {
  QWidget* widget = ui::WidgetOf(window.m_hWnd);
  if (!widget) ADD_FAILURE() << "The window is gone";
  return widget;
}

// The view the list shows now.
QAbstractItemView* ShownView(const CWnd& list) {
  QWidget* widget = WidgetOf(list);
  if (!widget) return nullptr;
  for (auto* view : widget->findChildren<QAbstractItemView*>(Qt::FindDirectChildrenOnly)) {
    if (view->isVisibleTo(widget)) return view;
  }
  ADD_FAILURE() << "The window shows no list";
  return nullptr;
}

Qt::KeyboardModifiers ModifiersOf(UINT flags) {
  Qt::KeyboardModifiers modifiers;
  if (flags & 0x0004) modifiers |= Qt::ShiftModifier;    // MK_SHIFT
  if (flags & 0x0008) modifiers |= Qt::ControlModifier;  // MK_CONTROL
  return modifiers;
}

// The child under a point of the window, and the point in its coordinates.
QWidget* Target(const CWnd& window, CPoint point, QPoint& local) {
  QWidget* widget = WidgetOf(window);
  if (!widget) return nullptr;
  const QPoint at(point.x, point.y);
  QWidget* child = widget->childAt(at);
  QWidget* target = child ? child : widget;
  local = target->mapFrom(widget, at);
  return target;
}

}  // namespace

std::vector<std::vector<std::string>> ListRows(const CWnd& list) {
  std::vector<std::vector<std::string>> rows;
  QAbstractItemView* view = ShownView(list);
  const QAbstractItemModel* model = view ? view->model() : nullptr;
  if (!model) return rows;
  const int columns = static_cast<int>(ListHeadings(list).size());
  for (int row = 0; row < model->rowCount(); ++row) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (int column = 0; column < std::max(1, columns); ++column) {
      cells.push_back(ui::FromQt(model->index(row, column).data().toString()));
    }
  }
  return rows;
}

std::vector<std::string> ListHeadings(const CWnd& list) {
  std::vector<std::string> headings;
  QAbstractItemView* view = ShownView(list);
  const QAbstractItemModel* model = view ? view->model() : nullptr;
  if (!model) return headings;
  for (int column = 0; column < model->columnCount(); ++column) {
    const QVariant heading = model->headerData(column, Qt::Horizontal, Qt::DisplayRole);
    if (!heading.isValid()) break;
    headings.push_back(ui::FromQt(heading.toString()));
  }
  return headings;
}

int ListSortArrow(const CWnd& list, bool* up) {
  QWidget* widget = WidgetOf(list);
  auto* header = widget ? widget->findChild<QHeaderView*>() : nullptr;
  if (!header || !header->isVisible() || !header->isSortIndicatorShown()) return -1;
  // The headers draw Qt's descending order as an arrow pointing up.
  if (up) *up = header->sortIndicatorOrder() == Qt::DescendingOrder;
  return header->sortIndicatorSection();
}

void ClickListAt(const CWnd& list, CPoint point, UINT modifiers) {
  QPoint local;
  if (QWidget* target = Target(list, point, local)) {
    QTest::mouseClick(target, Qt::LeftButton, ModifiersOf(modifiers), local);
  }
}

void DoubleClickListAt(const CWnd& list, CPoint point) {
  QPoint local;
  if (QWidget* target = Target(list, point, local)) {
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
  }
}

void ClickListHeading(const CWnd& list, int column) {
  QWidget* widget = WidgetOf(list);
  auto* header = widget ? widget->findChild<QHeaderView*>() : nullptr;
  if (!header || !header->isVisible()) {
    ADD_FAILURE() << "The list shows no headings";
    return;
  }
  const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                      header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
}

// --- Pictures -----------------------------------------------------------------------------

struct WindowPicture::Impl {
  QImage image;
};

WindowPicture::WindowPicture() : m_impl(std::make_unique<Impl>()) {}
WindowPicture::~WindowPicture() = default;
WindowPicture::WindowPicture(WindowPicture&&) noexcept = default;
WindowPicture& WindowPicture::operator=(WindowPicture&&) noexcept = default;

int WindowPicture::Width() const { return m_impl->image.width(); }
int WindowPicture::Height() const { return m_impl->image.height(); }

COLORREF WindowPicture::Pixel(int x, int y) const {
  if (!m_impl->image.valid(x, y)) return 0xFFFFFFFF;
  const QRgb pixel = m_impl->image.pixel(x, y);
  return RGB(static_cast<BYTE>(qRed(pixel)), static_cast<BYTE>(qGreen(pixel)),
             static_cast<BYTE>(qBlue(pixel)));
}

int WindowPicture::CountPixels(const RECT& area, COLORREF colour, int tolerance) const {
  auto near = [tolerance](int a, int b) { return std::abs(a - b) <= tolerance; };
  int count = 0;
  const int bottom = std::min(Height(), static_cast<int>(area.bottom));
  const int right = std::min(Width(), static_cast<int>(area.right));
  for (int y = std::max(0, static_cast<int>(area.top)); y < bottom; ++y) {
    for (int x = std::max(0, static_cast<int>(area.left)); x < right; ++x) {
      const COLORREF pixel = Pixel(x, y);
      if (near(GetRValue(pixel), GetRValue(colour)) && near(GetGValue(pixel), GetGValue(colour)) &&
          near(GetBValue(pixel), GetBValue(colour))) {
        ++count;
      }
    }
  }
  return count;
}

bool WindowPicture::Save(const char* path) const {
  return path && m_impl->image.save(QString::fromUtf8(path), "PNG");
}

WindowPicture GrabWindow(const CWnd& window) {
  WindowPicture picture;
  QCoreApplication::processEvents();
  if (QWidget* widget = WidgetOf(window)) {
    picture.m_impl->image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  return picture;
}

std::vector<std::string> ShownWindowCaptions() {
  std::vector<std::string> captions;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) captions.push_back(ui::FromQt(widget->windowTitle()));
  }
  return captions;
}

}  // namespace platform::testing
