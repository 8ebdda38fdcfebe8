#include "Dispatch.h"

#include <QMenu>
#include <cstdio>
#include <exception>
#include <utility>

#include "QtText.h"
#include "WindowRegistry.h"

namespace platform::ui {
namespace {

int g_depth = 0;
// The pass-on mark of the notification being reflected now (null when none
// is); nested reflections keep their own.
bool* g_passOn = nullptr;

// The standard items of a top-level window's system menu.
void FillStandardMenu(CMenu& menu, DWORD style) {
  if (style & WS_MINIMIZEBOX) {
    menu.AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
    menu.AppendMenu(MF_SEPARATOR);
  }
  menu.AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
}

}  // namespace

bool InHandler() { return g_depth > 0; }

void RunHandler(HWND window, const std::function<void(CWnd&)>& call) {
  CWnd* target = CWnd::FromHandlePermanent(window);
  if (!target) return;
  ++g_depth;
  try {
    call(*target);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "A window handler failed: %s\n", error.what());
  } catch (...) {
    std::fprintf(stderr, "A window handler failed.\n");
  }
  --g_depth;
}

bool ReflectNotify(HWND control, const std::function<void(CWnd&)>& call) {
  bool passOn = true;  // stays so when no object is attached
  bool* const outer = std::exchange(g_passOn, &passOn);
  RunHandler(control, [&](CWnd& target) {
    passOn = false;
    call(target);
  });
  g_passOn = outer;
  return !passOn;
}

void PassNotifyOn() {
  if (g_passOn) *g_passOn = true;
}

void SendCommand(HWND window, int id, UINT code, HWND control) {
  RunHandler(window, [&](CWnd& target) {
    target.OnCommand(MAKEWPARAM(static_cast<unsigned>(id), code),
                     reinterpret_cast<LPARAM>(control));
  });
}

void SendSysCommand(HWND window, UINT id) {
  RunHandler(window, [&](CWnd& target) { target.OnSysCommand(id, 0); });
}

void SendClose(HWND window) {
  RunHandler(window, [](CWnd& target) { target.OnClose(); });
}

LRESULT SendNotify(HWND parent, NMHDR& header) {
  LRESULT result = 0;
  RunHandler(parent, [&](CWnd& target) {
    target.OnNotify(static_cast<WPARAM>(header.idFrom), reinterpret_cast<LPARAM>(&header), &result);
  });
  return result;
}

void SendSize(HWND window, UINT type, int cx, int cy) {
  RunHandler(window, [&](CWnd& target) { target.OnSize(type, cx, cy); });
}

void SendDropFiles(HWND window, const std::vector<std::string>& paths) {
  RunHandler(window, [&](CWnd& target) { target.OnDropFiles(paths); });
}

MINMAXINFO AskSizeLimits(HWND window) {
  MINMAXINFO info{};
  RunHandler(window, [&](CWnd& target) { target.OnGetMinMaxInfo(&info); });
  return info;
}

QMenu* ShowSystemMenu(HWND window, const QPoint& screenPos) {
  CWnd* target = CWnd::FromHandle(window);
  CMenu* menu = target ? target->GetSystemMenu(FALSE) : nullptr;
  QWidget* widget = WidgetOf(window);
  if (!menu || !widget) return nullptr;
  auto* popup = new QMenu(widget);
  popup->setAttribute(Qt::WA_DeleteOnClose);
  for (const CMenu::Item& item : menu->Items()) {
    if (item.flags & MF_SEPARATOR) {
      popup->addSeparator();
      continue;
    }
    QAction* action = popup->addAction(ToQt(item.text));
    action->setData(item.id);
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    const UINT id = item.id;
    QObject::connect(action, &QAction::triggered, [window, id] { SendSysCommand(window, id); });
  }
  popup->popup(screenPos);
  return popup;
}

}  // namespace platform::ui

// --- CWnd: the handlers' defaults and the system menu ----------------------------

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

void CWnd::OnSize(UINT, int, int) {}

void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {}

void CWnd::OnDropFiles(const std::vector<std::string>&) {}

void CWnd::OnSysCommand(UINT id, LPARAM) {
  switch (id & 0xFFF0) {
    case SC_CLOSE:
      OnClose();
      break;
    case SC_MINIMIZE:
      ShowWindow(SW_MINIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(SW_RESTORE);
      break;
    default:
      break;
  }
}

void CWnd::OnClose() { DestroyWindow(); }

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
  platform::ui::WindowData* data = platform::ui::FindWindow(m_hWnd);
  if (!data || !data->widget->isWindow()) return nullptr;
  if (revert || !data->systemMenu) {
    data->systemMenu = std::make_unique<CMenu>();
    platform::ui::FillStandardMenu(*data->systemMenu, data->style);
  }
  return revert ? nullptr : data->systemMenu.get();
}
