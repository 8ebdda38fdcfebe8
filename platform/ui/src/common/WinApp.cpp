// The application object and the program's start.
#include "platform/WinApp.h"

#include <cstdio>

#include "platform/MessageBox.h"
#include "platform/Resource.h"
#include "platform/Wnd.h"

namespace {

CWinApp* g_app = nullptr;
std::vector<std::string> g_arguments;

std::string FileNameOf(const char* path) {
  std::string name = path ? path : "";
  const std::size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace

CWinApp::CWinApp(const char* appName) : m_appName(appName ? appName : "") {
  if (g_app) std::fprintf(stderr, "A second application object replaces the first.\n");
  g_app = this;
  m_pszAppName = m_appName.c_str();
  m_lpCmdLine = m_commandLine.data();
  if (!m_appName.empty()) platform::SetApplicationTitle(m_pszAppName);
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

HICON CWinApp::LoadIcon(UINT id) const { return platform::LoadIconResource(id); }

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() {
  CWnd* main = g_app ? g_app->m_pMainWnd : nullptr;
  return main && main->m_hWnd ? main : nullptr;
}

namespace platform {

const std::vector<std::string>& GetProgramArguments() { return g_arguments; }

std::string JoinCommandTail(int argc, const char* const* argv) {
  std::string tail;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) tail += ' ';
    tail += argv[i] ? argv[i] : "";
  }
  return tail;
}

}  // namespace platform

int AfxWinMain(int argc, char** argv) {
  CWinApp* app = AfxGetApp();
  if (!app) {
    std::fprintf(stderr, "The program has no application object.\n");
    return 1;
  }
  g_arguments.assign(argv, argv + argc);
  const std::string program = FileNameOf(argc > 0 ? argv[0] : nullptr);
  if (app->m_appName.empty()) {
    app->m_appName = program;
    app->m_pszAppName = app->m_appName.c_str();
  }
  platform::SetApplicationTitle(app->m_pszAppName);
  app->m_commandLine = platform::JoinCommandTail(argc, argv);
  app->m_lpCmdLine = app->m_commandLine.data();

  platform::WindowSystem windows(program.c_str());
  platform::InstallDesktopHandlers();
  if (!app->InitInstance()) return app->ExitInstance();
  app->Run();
  return app->ExitInstance();
}
