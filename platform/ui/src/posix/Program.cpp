// Starting a program on POSIX: fork twice so the program is adopted by
// init (no zombie, no waiting), exec the path directly (no shell), and learn
// an exec failure through a close-on-exec pipe.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "../common/ProgramBackend.h"

extern char** environ;

namespace platform::ui::backend {
namespace {

// Only async-signal-safe calls from here on: the process may have threads.
[[noreturn]] void RunInChild(int report, char* const argv[]) {
  setsid();  // apart from this process's terminal and its signals
  const pid_t grandchild = fork();
  if (grandchild != 0) {
    if (grandchild < 0) {
      const int error = errno;
      (void)!write(report, &error, sizeof error);
    }
    _exit(0);
  }
  // The program starts with the signals as a program started from a
  // desktop would: none blocked, SIGPIPE not ignored.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &standard, nullptr);
  const int input = open("/dev/null", O_RDONLY);
  if (input >= 0 && input != STDIN_FILENO) {
    dup2(input, STDIN_FILENO);
    close(input);
  }
  execve(argv[0], argv, environ);
  const int error = errno;
  (void)!write(report, &error, sizeof error);
  _exit(127);
}

}  // namespace

bool IsExecutableFile(const std::string& nativePath) {
  struct stat status {};
  if (stat(nativePath.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  return faccessat(AT_FDCWD, nativePath.c_str(), X_OK, AT_EACCESS) == 0;
}

int StartProgram(const std::string& nativePath) {
  std::vector<char> path(nativePath.begin(), nativePath.end());
  path.push_back('\0');
  char* const argv[] = {path.data(), nullptr};
  int pipe[2];
  if (pipe2(pipe, O_CLOEXEC) != 0) return errno;
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(pipe[0]);
    close(pipe[1]);
    return error;
  }
  if (child == 0) {
    close(pipe[0]);
    RunInChild(pipe[1], argv);
  }
  close(pipe[1]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes without a word when exec succeeded.
  int error = 0;
  ssize_t got;
  while ((got = read(pipe[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(pipe[0]);
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace platform::ui::backend
