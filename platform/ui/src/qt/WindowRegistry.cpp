#include "WindowRegistry.h"

#include <QEventLoop>
#include <QHash>
#include <unordered_map>

#include "Dispatch.h"

namespace platform::ui {
namespace {

struct Registry {
  std::unordered_map<HWND, std::unique_ptr<WindowData>> byHandle;
  QHash<const QWidget*, HWND> byWidget;
  std::uintptr_t next = 0x10000;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

// Drops a record: the attached object is detached, a temporary one deleted.
void Forget(HWND handle) {
  Registry& registry = TheRegistry();
  auto it = registry.byHandle.find(handle);
  if (it == registry.byHandle.end()) return;
  std::unique_ptr<WindowData> data = std::move(it->second);
  registry.byHandle.erase(it);
  registry.byWidget.remove(data->key);
  if (data->permanent) data->permanent->m_hWnd = nullptr;
  if (data->temporary) data->temporary->m_hWnd = nullptr;
}

}  // namespace

WindowData& RegisterWindow(QWidget* widget, WindowKind kind) {
  Registry& registry = TheRegistry();
  auto data = std::make_unique<WindowData>();
  data->handle = reinterpret_cast<HWND>(registry.next);
  registry.next += 4;
  data->widget = widget;
  data->key = widget;
  data->kind = kind;
  const HWND handle = data->handle;
  registry.byWidget.insert(widget, handle);
  QObject::connect(widget, &QObject::destroyed, [handle] { Forget(handle); });
  return *(registry.byHandle[handle] = std::move(data));
}

WindowData* FindWindow(HWND handle) {
  if (!handle) return nullptr;
  Registry& registry = TheRegistry();
  auto it = registry.byHandle.find(handle);
  return it == registry.byHandle.end() || !it->second->widget ? nullptr : it->second.get();
}

WindowData* FindWindow(const QWidget* widget) {
  return widget ? FindWindow(TheRegistry().byWidget.value(widget, nullptr)) : nullptr;
}

QWidget* WidgetOf(HWND handle) {
  WindowData* data = FindWindow(handle);
  return data ? data->widget.data() : nullptr;
}

HWND HandleOf(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    if (WindowData* data = FindWindow(widget)) return data->handle;
  }
  return nullptr;
}

void DestroyWidget(HWND handle) {
  WindowData* data = FindWindow(handle);
  if (!data) return;
  QWidget* widget = data->widget;
  if (!InHandler()) {
    DestroyWidgetNow(handle);
    return;
  }
  widget->hide();
  // Unregister the window and its controls now; delete them later.
  const QList<QWidget*> children = widget->findChildren<QWidget*>();
  for (QWidget* child : children) {
    if (WindowData* childData = FindWindow(child)) Forget(childData->handle);
  }
  Forget(handle);
  widget->deleteLater();
}

void DestroyWidgetNow(HWND handle) {
  if (WindowData* data = FindWindow(handle)) delete data->widget.data();
}

void KeepOwnedWindowsEnabled(QWidget& owner) {
  for (QWidget* child : owner.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow() && FindWindow(child) && !child->testAttribute(Qt::WA_ForceDisabled)) {
      child->setEnabled(true);
    }
  }
}

}  // namespace platform::ui

// --- CWnd: handles and attachment ------------------------------------------------

CWnd::~CWnd() {
  if (!m_hWnd) return;
  const HWND handle = m_hWnd;
  m_hWnd = nullptr;
  if (m_bTemporary) return;
  platform::ui::WindowData* data = platform::ui::FindWindow(handle);
  if (!data) return;
  if (data->permanent == this) data->permanent = nullptr;
  if (m_bOwnsWindow) platform::ui::DestroyWidget(handle);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  platform::ui::WindowData* data = platform::ui::FindWindow(hWnd);
  return data ? data->permanent : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  platform::ui::WindowData* data = platform::ui::FindWindow(hWnd);
  if (!data) return nullptr;
  if (data->permanent) return data->permanent;
  if (!data->temporary) {
    data->temporary = std::make_unique<CWnd>();
    data->temporary->m_bTemporary = true;
    data->temporary->m_hWnd = hWnd;
  }
  return data->temporary.get();
}

BOOL CWnd::Attach(HWND hWnd) {
  platform::ui::WindowData* data = platform::ui::FindWindow(hWnd);
  if (!data || data->permanent || m_hWnd) return FALSE;
  data->permanent = this;
  m_hWnd = hWnd;
  // A window made elsewhere is only borrowed: it stays when the object goes,
  // also when the object once made a window of its own.
  m_bOwnsWindow = false;
  return TRUE;
}

HWND CWnd::Detach() {
  const HWND handle = m_hWnd;
  if (platform::ui::WindowData* data = platform::ui::FindWindow(handle)) {
    if (data->permanent == this) data->permanent = nullptr;
  }
  m_hWnd = nullptr;
  m_bOwnsWindow = false;
  return handle;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  CWnd* control = parent ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
  return control ? Attach(control->m_hWnd) : FALSE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  platform::ui::WindowData* data = platform::ui::FindWindow(m_hWnd);
  if (data && data->modalLoop) data->modalLoop->exit(-1);
  platform::ui::DestroyWidget(m_hWnd);
  return TRUE;
}
