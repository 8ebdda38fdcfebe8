// Starting the window system, the application's event loop and the desktop
// handlers.
#include <QApplication>
#include <QFontInfo>
#include <cstdio>
#include <memory>
#include <string>

#include "DesktopHandlers.h"
#include "DialogFont.h"
#include "WindowRegistry.h"
#include "platform/WinApp.h"

namespace platform {

struct WindowSystem::Impl {
  std::string name;
  int argc = 1;
  char* argv[2] = {nullptr, nullptr};
  std::unique_ptr<QApplication> app;  // null when one was already running
};

WindowSystem::WindowSystem(const char* programName) : m_impl(new Impl) {
  m_impl->name = programName && *programName ? programName : "ombral";
  m_impl->argv[0] = m_impl->name.data();
  if (!QApplication::instance()) {
    // Only the program name: the arguments belong to the program, and Qt
    // would take a path that looks like one of its options ("-style").
    m_impl->app = std::make_unique<QApplication>(m_impl->argc, m_impl->argv);
  }
  // With no font installed the font database still lists the generic
  // names; they just resolve to nothing.
  m_hasFonts = !QFontInfo(ui::DialogFont(nullptr, 8)).family().isEmpty();
  if (!m_hasFonts) {
    std::fprintf(stderr,
                 "%s: no fonts are installed, so texts would show as empty boxes. Install a font "
                 "package (for example fonts-dejavu-core).\n",
                 m_impl->name.c_str());
  }
}

namespace {

// Puts the default handler back when `ours` is the one installed.
template <typename Handler>
void Uninstall(Handler* (*set)(Handler*), Handler& ours) {
  Handler* current = set(nullptr);
  if (current != &ours) set(current);
}

}  // namespace

WindowSystem::~WindowSystem() {
  // The desktop handlers need the window system, which ends here.
  Uninstall(&SetMessageBoxHandler, ui::DesktopMessageBoxes());
  Uninstall(&SetPickerHandler, ui::DesktopPickers());
  Uninstall(&SetShellHandler, ui::DesktopShell());
  delete m_impl;
}

int WindowSystem::Run() { return QApplication::instance() ? QApplication::exec() : 0; }

void InstallDesktopHandlers() {
  SetMessageBoxHandler(&ui::DesktopMessageBoxes());
  SetPickerHandler(&ui::DesktopPickers());
  SetShellHandler(&ui::DesktopShell());
}

}  // namespace platform

int CWinApp::Run() { return QApplication::instance() ? QApplication::exec() : 0; }
