// Child processes for tests, with fork and exec: the child starts afresh,
// without the threads and library state of the test program.
#include "platform/testing/ChildProcess.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace platform::testing {

ChildEnd RunChild(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ChildEnd end;
  const pid_t child = ::fork();
  if (child < 0) return end;
  if (child == 0) {
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  if (WIFSIGNALED(status)) {
    end.killed = true;
    end.signal = WTERMSIG(status);
  } else if (WIFEXITED(status)) {
    end.exitCode = WEXITSTATUS(status);
  }
  return end;
}

int KillSignal() { return SIGKILL; }

}  // namespace platform::testing
