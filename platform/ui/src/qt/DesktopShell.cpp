// The shell's "open" on the desktop: the desktop's opener (xdg-open) run as
// a program with the document's path as its one argument, never through a
// shell. Its exit status becomes the shell's code. An opener that is still
// running after the wait limit (some stay until the document's program
// ends) counts as done and is left to finish on its own.
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include "DesktopHandlers.h"
#include "QtText.h"
#include "platform/Drives.h"

namespace platform {
namespace {
int g_waitLimit = 5000;
}  // namespace

void SetOpenerWaitLimit(int milliseconds) { g_waitLimit = milliseconds < 0 ? 0 : milliseconds; }

namespace ui {
namespace {

class XdgShell : public ShellHandler {
public:
  int Open(const ShellRequest& request) override {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return SE_ERR_NOASSOC;
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({ToQt(request.nativePath)});
    if (!request.directory.empty()) {
      process->setWorkingDirectory(ToQt(ToNativePath(MakeAbsolute(request.directory))));
    }
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted(g_waitLimit)) {
      delete process;
      return SE_ERR_NOASSOC;
    }
    if (!process->waitForFinished(g_waitLimit)) {
      QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
      return SE_DONE;
    }
    const int code = process->exitStatus() == QProcess::NormalExit
                         ? ShellCodeFromOpenerExit(process->exitCode())
                         : SE_ERR_ASSOCINCOMPLETE;
    delete process;
    return code;
  }
};

}  // namespace

ShellHandler& DesktopShell() {
  static XdgShell handler;
  return handler;
}

}  // namespace ui
}  // namespace platform
