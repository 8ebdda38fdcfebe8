// The list view widget: its views, its style and the routing of events to
// the control's handlers and of notifications to the parent.
#include "ListViewWidget.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <set>
#include <utility>

#include "DcAccess.h"
#include "Dispatch.h"
#include "ImageListData.h"
#include "ListItemViews.h"
#include "WindowRegistry.h"

namespace platform::ui {
namespace {

void SetUpView(QAbstractItemView& view) {
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view.setTextElideMode(Qt::ElideRight);
}

template <typename Call>
void RunListHandler(HWND handle, Call call) {
  RunHandler(handle, [&](CWnd& window) {
    if (auto* list = dynamic_cast<CListCtrl*>(&window)) call(*list);
  });
}

// A notification the list's own handler hears first; true when its class
// handled it, so the parent does not hear it (see ReflectNotify).
template <typename Call>
bool ReflectListNotify(HWND handle, Call call) {
  return ReflectNotify(handle, [&](CWnd& window) {
    if (auto* list = dynamic_cast<CListCtrl*>(&window)) {
      call(*list);
    } else {
      PassNotifyOn();
    }
  });
}

UINT MouseFlags(const QMouseEvent& event) {
  UINT flags = 0;
  if (event.buttons() & Qt::LeftButton) flags |= MK_LBUTTON;
  if (event.buttons() & Qt::RightButton) flags |= MK_RBUTTON;
  if (event.modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (event.modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

}  // namespace

ListViewWidget::ListViewWidget(QWidget* parent)
    : QWidget(parent), m_model(new ListModel(this)), m_report(new ListReportView(*this)) {
  SetUpView(*m_report);
  m_report->setRootIsDecorated(false);
  m_report->setItemsExpandable(false);
  m_report->setUniformRowHeights(true);
  m_report->setIndentation(0);
  m_report->setAllColumnsShowFocus(true);
  m_report->setSortingEnabled(false);
  m_report->setItemDelegate(new ListItemDelegate(*this, false));
  m_report->header()->setStretchLastSection(false);
  m_report->header()->setSectionsMovable(false);
  m_report->header()->setMinimumSectionSize(0);
  m_report->setModel(m_model);
  m_selection = m_report->selectionModel();
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(m_report);

  connect(m_report->header(), &QHeaderView::sectionClicked, this,
          [this](int column) { ColumnClicked(column); });
  connect(m_report->header(), &QHeaderView::sectionResized, this,
          [this](int column, int, int width) {
            if (!m_syncingHeader && column < m_model->ColumnCount()) {
              m_model->SetColumnWidth(column, width);
            }
          });
  connect(m_selection, &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection& deselected) {
            SelectionChanged(selected, deselected);
          });
  connect(m_selection, &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex& previous) {
            CurrentChanged(current, previous);
          });
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });
  ShowColumns();
}

ListViewWidget::~ListViewWidget() {
  disconnect(qApp, nullptr, this, nullptr);
  m_quiet = true;
  m_handle = nullptr;
  m_parent = nullptr;
}

void ListViewWidget::Connect(WindowData& data, HWND parent) {
  m_handle = data.handle;
  m_parent = parent;
  data.styleChanged = [this](DWORD) { ApplyStyle(); };
  ApplyStyle();
}

DWORD ListViewWidget::Style() const {
  const WindowData* data = FindWindow(m_handle);
  return data ? data->style : LVS_REPORT;
}

QAbstractItemView* ListViewWidget::CurrentView() const {
  if (IsReport() || !m_icons) return m_report;
  return m_icons;
}

bool ListViewWidget::Contains(const QWidget* widget) const {
  return widget && (widget == this || isAncestorOf(widget));
}

bool ListViewWidget::HasFocusInside() const { return Contains(QApplication::focusWidget()); }

CListCtrl* ListViewWidget::AttachedList() const {
  return dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(m_handle));
}

void ListViewWidget::resizeEvent(QResizeEvent*) {
  m_report->setGeometry(rect());
  if (m_icons) m_icons->setGeometry(rect());
}

// --- Style -------------------------------------------------------------------------------

QListView& ListViewWidget::IconView() {
  if (!m_icons) {
    auto* view = new ListIconView(*this);
    SetUpView(*view);
    view->setItemDelegate(new ListItemDelegate(*this, true));
    view->setModel(m_model);
    view->setSelectionModel(m_selection);
    view->setMovement(QListView::Static);
    view->setResizeMode(QListView::Adjust);
    view->setGeometry(rect());
    m_icons = view;
  }
  return *m_icons;
}

void ListViewWidget::ApplyStyle() {
  const DWORD style = Style();
  const bool hadFocus = HasFocusInside();
  const auto selection = (style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                 : QAbstractItemView::ExtendedSelection;
  const QFrame::Shape frame = (style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame;
  m_report->setSelectionMode(selection);
  m_report->setFrameShape(frame);
  m_report->setHeaderHidden(style & LVS_NOCOLUMNHEADER);
  m_report->header()->setSectionsClickable(!(style & LVS_NOSORTHEADER));
  if (!IsReport()) {
    QListView& icons = IconView();
    icons.setSelectionMode(selection);
    icons.setFrameShape(frame);
    const DWORD type = style & LVS_TYPEMASK;
    icons.setViewMode(type == LVS_ICON ? QListView::IconMode : QListView::ListMode);
    icons.setFlow(type == LVS_LIST ? QListView::TopToBottom : QListView::LeftToRight);
    icons.setWrapping(true);
    const QSize large = ImageListSize(m_model->ImageList(LVSIL_NORMAL));
    const QSize small = ImageListSize(m_model->ImageList(LVSIL_SMALL));
    icons.setIconSize(type == LVS_ICON ? (large.isEmpty() ? QSize(32, 32) : large)
                                       : (small.isEmpty() ? QSize(16, 16) : small));
    icons.setSpacing(type == LVS_ICON ? 8 : 2);
  }
  QAbstractItemView* shown = CurrentView();
  m_report->setVisible(shown == m_report);
  if (m_icons) m_icons->setVisible(shown == m_icons);
  setFocusProxy(shown);
  if (hadFocus) shown->setFocus(Qt::OtherFocusReason);
  static_cast<ListReportView*>(m_report)->Relayout();
  if (m_icons) static_cast<ListIconView*>(m_icons)->Relayout();
  shown->viewport()->update();
}

void ListViewWidget::ShowColumns() {
  QHeaderView* header = m_report->header();
  m_syncingHeader = true;
  const int count = m_model->ColumnCount();
  for (int column = 0; column < count; ++column) {
    header->resizeSection(column, m_model->Column(column).width);
  }
  header->setSectionHidden(0, count == 0);
  // The sort arrow of the first column whose format asks for one. Qt's
  // headers draw an ascending order as an arrow pointing down, so the
  // order is the other one of the arrow asked for.
  int arrow = -1;
  for (int column = 0; column < count && arrow < 0; ++column) {
    if (m_model->Column(column).format & (HDF_SORTUP | HDF_SORTDOWN)) arrow = column;
  }
  header->setSortIndicatorShown(arrow >= 0);
  if (arrow >= 0) {
    const bool up = m_model->Column(arrow).format & HDF_SORTUP;
    header->setSortIndicator(arrow, up ? Qt::DescendingOrder : Qt::AscendingOrder);
  }
  m_syncingHeader = false;
  m_report->viewport()->update();
}

void ListViewWidget::ImageListsChanged() {
  static_cast<ListReportView*>(m_report)->Relayout();
  if (m_icons) ApplyStyle();
}

// --- Painting ----------------------------------------------------------------------------

void ListViewWidget::PaintViewport(QAbstractItemView& view, QPaintEvent* event,
                                   const std::function<void()>& basePaint) {
  const QPoint offset = ViewportOffset(view);
  const std::function<void()> ownerPaint = [&] { DrawOwnerRows(*view.viewport(), event->region()); };
  const bool owner = &view == m_report && OwnerDraw();
  ScopedPaint scoped(m_handle, event->region().translated(offset));
  PaintInProgress& paint = scoped.Paint();
  m_basePaint = owner ? &ownerPaint : &basePaint;
  if (AttachedList()) {
    RunListHandler(m_handle, [](CListCtrl& list) { list.OnPaint(); });
  } else {
    RunBasePaint();
  }
  m_basePaint = nullptr;
  // What OnPaint added beyond this paint is painted next, together with
  // this paint's region, so that each further paint covers more until the
  // handler adds nothing new.
  if (!(paint.added - paint.region).isEmpty()) {
    view.viewport()->update((paint.region + paint.added).translated(-offset));
  }
}

void ListViewWidget::RunBasePaint() {
  PaintInProgress* paint = CurrentPaint(m_handle);
  if (!paint || paint->basePainted || !m_basePaint) return;
  paint->basePainted = true;
  (*m_basePaint)();
}

void ListViewWidget::DrawOwnerRows(QWidget& viewport, const QRegion& region) {
  const int count = m_model->RowCount();
  if (count == 0 || region.isEmpty()) return;
  const int height = RowHeight();
  const int scroll = m_report->verticalScrollBar()->value();
  const QRect box = region.boundingRect();
  const int first = std::max(0, (box.top() + scroll) / height);
  const int last = std::min(count - 1, (box.bottom() + scroll) / height);
  if (first > last) return;
  const QPoint offset = ViewportOffset(*m_report);
  QPainter painter(&viewport);
  painter.translate(-offset);
  CDC dc;
  DcAccess::Attach(dc, &painter, box.translated(offset), font());
  const WindowData* data = FindWindow(m_handle);
  const bool focus = HasFocusInside();
  for (int row = first; row <= last && row < m_model->RowCount(); ++row) {
    const UINT state = ViewState(row);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTVIEW;
    item.CtlID = data ? static_cast<UINT>(data->controlId) : 0;
    item.itemID = static_cast<UINT>(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ((state & LVIS_SELECTED) ? ODS_SELECTED : 0) |
                     ((state & LVIS_FOCUSED) && focus ? ODS_FOCUS : 0);
    item.hwndItem = m_handle;
    item.hDC = dc.m_hDC;
    item.rcItem = RectOf(ItemRect(row, LVIR_BOUNDS));
    item.itemData = m_model->Row(row).data;
    RunListHandler(m_handle, [&](CListCtrl& list) { list.DrawItem(&item); });
  }
}

void ListViewWidget::RepaintRows() { CurrentView()->viewport()->update(); }

// --- Mouse, headings, focus ---------------------------------------------------------------------

void ListViewWidget::ButtonDown(QAbstractItemView& view, QMouseEvent* event,
                                const std::function<void()>& base) {
  if (event->button() != Qt::LeftButton || !AttachedList()) return base();
  const QPoint point = view.viewport()->mapTo(this, event->position().toPoint());
  m_basePress = &base;
  RunListHandler(m_handle, [&](CListCtrl& list) {
    list.OnLButtonDown(MouseFlags(*event), CPoint(point.x(), point.y()));
  });
  m_basePress = nullptr;
}

void ListViewWidget::RunBaseButtonDown() {
  const std::function<void()>* base = std::exchange(m_basePress, nullptr);
  if (base) (*base)();
}

void ListViewWidget::ButtonUp(QAbstractItemView& view, QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = view.viewport()->mapTo(this, event->position().toPoint());
  UINT flags = 0;
  int subItem = -1;
  Notify(NM_CLICK, HitTest(point, flags, subItem), 0, 0, point);
}

void ListViewWidget::DoubleClick(QAbstractItemView& view, QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = view.viewport()->mapTo(this, event->position().toPoint());
  UINT flags = 0;
  int subItem = -1;
  NMLISTVIEW record = Record(NM_DBLCLK, HitTest(point, flags, subItem), point);
  record.iSubItem = subItem;
  LRESULT result = 0;
  const HWND handle = m_handle;
  const bool handled =
      ReflectListNotify(handle, [&](CListCtrl& list) { list.OnDblclk(&record.hdr, &result); });
  if (!handled && FindWindow(handle)) SendNotify(m_parent, record.hdr);
}

void ListViewWidget::ColumnClicked(int column) {
  NMLISTVIEW record = Record(LVN_COLUMNCLICK, -1, QPoint());
  record.iSubItem = column;
  LRESULT result = 0;
  const HWND handle = m_handle;
  const bool handled =
      ReflectListNotify(handle, [&](CListCtrl& list) { list.OnColumnclick(&record.hdr, &result); });
  if (!handled && FindWindow(handle)) SendNotify(m_parent, record.hdr);
}

void ListViewWidget::FocusChanged(QWidget* old, QWidget* now) {
  const bool wasInside = Contains(old);
  const bool isInside = Contains(now);
  if (wasInside == isInside || !m_handle) return;
  QWidget* other = isInside ? old : now;
  CWnd* otherWindow = other ? CWnd::FromHandle(HandleOf(other)) : nullptr;
  const HWND handle = m_handle;
  if (isInside) {
    RunListHandler(handle, [&](CListCtrl& list) { list.OnSetFocus(otherWindow); });
  } else {
    RunListHandler(handle, [&](CListCtrl& list) { list.OnKillFocus(otherWindow); });
  }
  if (!AttachedList()) RepaintRows();
  if (FindWindow(handle)) Notify(isInside ? NM_SETFOCUS : NM_KILLFOCUS, -1);
}

// --- Notifications ------------------------------------------------------------------------------

NMLISTVIEW ListViewWidget::Record(UINT code, int row, QPoint point) const {
  NMLISTVIEW record{};
  const WindowData* data = FindWindow(m_handle);
  record.hdr.hwndFrom = m_handle;
  record.hdr.idFrom = data ? static_cast<UINT_PTR>(data->controlId) : 0;
  record.hdr.code = code;
  record.iItem = row;
  record.ptAction = POINT{point.x(), point.y()};
  record.lParam = m_model->ValidRow(row) ? static_cast<LPARAM>(m_model->Row(row).data) : 0;
  return record;
}

LRESULT ListViewWidget::Notify(UINT code, int row, UINT oldState, UINT newState, QPoint point) {
  if (!m_parent) return 0;
  NMLISTVIEW record = Record(code, row, point);
  record.uOldState = oldState;
  record.uNewState = newState;
  record.uChanged = code == LVN_ITEMCHANGED ? LVIF_STATE : 0;
  return SendNotify(m_parent, record.hdr);
}

void ListViewWidget::SelectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
  if (m_quiet) return;
  for (const QItemSelection* part : {&deselected, &selected}) {
    std::set<int> rows;
    for (const QItemSelectionRange& range : *part) {
      if (range.left() != 0) continue;  // a row counts by its first column
      for (int row = range.top(); row <= range.bottom(); ++row) rows.insert(row);
    }
    for (int row : rows) {
      if (!m_model->ValidRow(row)) continue;
      const UINT now = ViewState(row);
      Notify(LVN_ITEMCHANGED, row, now ^ LVIS_SELECTED, now);
    }
  }
}

void ListViewWidget::CurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (m_quiet) return;
  if (previous.isValid() && m_model->ValidRow(previous.row())) {
    const UINT now = ViewState(previous.row());
    Notify(LVN_ITEMCHANGED, previous.row(), now | LVIS_FOCUSED, now);
  }
  if (current.isValid() && m_model->ValidRow(current.row())) {
    const UINT now = ViewState(current.row());
    Notify(LVN_ITEMCHANGED, current.row(), now & ~LVIS_FOCUSED, now);
  }
}

ListViewWidget* ListViewOf(HWND handle) { return dynamic_cast<ListViewWidget*>(WidgetOf(handle)); }

}  // namespace platform::ui
