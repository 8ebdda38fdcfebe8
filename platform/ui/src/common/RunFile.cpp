// Running a file: programs start directly, documents go to the shell's
// "open" (see RunFile.h).
#include "platform/RunFile.h"

#include <cerrno>
#include <string>

#include "ProgramBackend.h"
#include "platform/Drives.h"

namespace {

int ShellCodeOf(int error) {
  switch (error) {
    case ENOENT:
      return SE_ERR_FNF;
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
      return SE_ERR_PNF;
    case EACCES:
    case EPERM:
    case ETXTBSY:
      return SE_ERR_ACCESSDENIED;
    case ENOMEM:
    case EAGAIN:
      return SE_ERR_OOM;
    default:  // ENOEXEC and the like: not a program this system runs
      return SE_ERR_BADFORMAT;
  }
}

}  // namespace

int RunFile(HWND owner, const char* path, int show) {
  const std::string given = path ? path : "";
  if (given.empty()) return SE_ERR_FNF;
  const std::string native = platform::ToNativePath(platform::MakeAbsolute(given));
  if (native.empty()) return SE_ERR_PNF;  // a drive letter that is not mapped
  if (platform::ui::backend::IsExecutableFile(native)) {
    const int error = platform::ui::backend::StartProgram(native);
    return error == 0 ? SE_DONE : ShellCodeOf(error);
  }
  return ShellExecute(owner, "open", given.c_str(), nullptr, nullptr, show);
}
