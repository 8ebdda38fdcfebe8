// The shell's "open": the checks every handler shares, the handler registry
// and its default, and the opener's exit codes.
#include "platform/Shell.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include "AccessBackend.h"
#include "platform/Crt.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

ShellHandler* g_shell = nullptr;
thread_local std::string t_failureReason;

bool IsFolder(const std::string& nativePath) {
  FileStat stat;
  return GetFileStat(nativePath, stat) && stat.isDirectory;
}

// Why a document cannot be opened, as a shell code; 0 when it can.
int CheckDocument(const std::string& nativePath) {
  FileStat stat;
  if (!GetFileStat(nativePath, stat)) {
    const int error = errno;
    if (error == EACCES) return SE_ERR_ACCESSDENIED;
    if (error == ENOTDIR) return SE_ERR_PNF;
    const std::size_t slash = nativePath.find_last_of('/');
    const std::string parent = slash == 0 ? "/" : nativePath.substr(0, slash);
    return slash == std::string::npos || IsFolder(parent) ? SE_ERR_FNF : SE_ERR_PNF;
  }
  return ui::backend::CanRead(nativePath) ? 0 : SE_ERR_ACCESSDENIED;
}

}  // namespace

std::string ShellFailureReason() { return t_failureReason; }

void SetShellFailureReason(std::string reason) { t_failureReason = std::move(reason); }

ShellHandler* SetShellHandler(ShellHandler* handler) {
  ShellHandler* previous = g_shell;
  g_shell = handler;
  return previous;
}

int ShellCodeFromOpenerExit(int exitStatus) {
  switch (exitStatus) {
    case 0:
      return SE_DONE;
    case 1:  // the opener did not understand its command line
    case 4:  // an associated program exists but failed
      return SE_ERR_ASSOCINCOMPLETE;
    case 2:
      return SE_ERR_FNF;
    default:  // 3: no program to open it with
      return SE_ERR_NOASSOC;
  }
}

}  // namespace platform

int ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                 const char* directory, int show) {
  platform::SetShellFailureReason({});
  if (verb && *verb && _stricmp(verb, "open") != 0) return SE_ERR_NOASSOC;
  const std::string given = file ? file : "";
  if (given.empty()) return SE_ERR_FNF;
  const std::string native = platform::ToNativePath(platform::MakeAbsolute(given));
  if (native.empty()) return SE_ERR_PNF;  // a drive letter that is not mapped
  if (const int failure = platform::CheckDocument(native)) return failure;

  platform::ShellRequest request;
  request.owner = owner;
  request.verb = "open";
  request.file = given;
  request.nativePath = native;
  request.parameters = parameters ? parameters : "";
  request.directory = directory ? directory : "";
  request.show = show;
  if (platform::g_shell) {
    const int code = platform::g_shell->Open(request);
    if (code > 32) platform::SetShellFailureReason({});
    return code;
  }
  std::fprintf(stderr, "No desktop shell available to open %s\n", given.c_str());
  return SE_ERR_NOASSOC;
}
