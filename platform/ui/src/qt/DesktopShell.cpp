// The shell's "open" on the desktop: the desktop's opener (xdg-open) run as
// a program with the document's path as its one argument, never through a
// shell. Its exit status becomes the shell's code. An opener that is still
// running after the wait limit (some stay until the document's program
// ends) counts as done and is left to finish on its own.
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <string>

#include "../common/UiText.h"
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

// Passes what the opener wrote to its error output on to ours.
void ForwardErrors(const QByteArray& text) {
  if (!text.isEmpty()) std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
}

// The last line the opener (or the program it started) wrote to its error
// output, without a log prefix in brackets ("[1234:1234:...:ERROR:...] ").
std::string LastErrorLine(const QByteArray& text) {
  const QList<QByteArray> lines = text.split('\n');
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    QByteArray words = line->trimmed();
    if (words.startsWith('[')) {
      const qsizetype end = words.indexOf("] ");
      if (end > 0) words = words.mid(end + 2).trimmed();
    }
    if (!words.isEmpty()) {
      const std::string said = words.toStdString();
      return said.substr(0, Utf8PrefixLength(said, 300));
    }
  }
  return {};
}

class XdgShell : public ShellHandler {
public:
  int Open(const ShellRequest& request) override {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
      SetShellFailureReason("xdg-open, which opens documents, is not installed");
      return SE_ERR_NOASSOC;
    }
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({ToQt(request.nativePath)});
    if (!request.directory.empty()) {
      process->setWorkingDirectory(ToQt(ToNativePath(MakeAbsolute(request.directory))));
    }
    process->setStandardInputFile(QProcess::nullDevice());
    // The error output is read (and passed on): it says why an opening failed.
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process->start();
    if (!process->waitForStarted(g_waitLimit)) {
      SetShellFailureReason("xdg-open could not be started: " + FromQt(process->errorString()));
      delete process;
      return SE_ERR_NOASSOC;
    }
    if (!process->waitForFinished(g_waitLimit)) {
      ForwardErrors(process->readAllStandardError());
      QObject::connect(process, &QProcess::readyReadStandardError, process,
                       [process] { ForwardErrors(process->readAllStandardError()); });
      QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
      return SE_DONE;
    }
    const QByteArray errors = process->readAllStandardError();
    ForwardErrors(errors);
    const bool exited = process->exitStatus() == QProcess::NormalExit;
    const int code = exited ? ShellCodeFromOpenerExit(process->exitCode()) : SE_ERR_ASSOCINCOMPLETE;
    if (code <= 32) {
      std::string reason = exited ? "xdg-open ended with status " + std::to_string(process->exitCode())
                                  : std::string("xdg-open stopped abnormally");
      const std::string said = LastErrorLine(errors);
      if (!said.empty()) reason += ": " + said;
      SetShellFailureReason(std::move(reason));
    }
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
