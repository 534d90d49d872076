#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "errors/lib_error.h"
#include "os/programs.h"

namespace qlxw::platform {

void StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  if (access(program.c_str(), X_OK) != 0) {
    RaiseAutomationError(kErrFileNotFound);
  }
  std::vector<char*> argv;
  argv.push_back(
      const_cast<char*>(program.c_str()));  // NOLINT(cppcoreguidelines-pro-type-const-cast): execv's type
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  }
  argv.push_back(nullptr);
  // Twice forked, so that the viewer is nobody's child here and leaves no zombie behind.
  const pid_t child = fork();
  if (child < 0) {
    RaiseAutomationError(kErrFileNotFound);
  }
  if (child == 0) {
    setsid();
    if (fork() == 0) {
      execv(program.c_str(), argv.data());
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

}  // namespace qlxw::platform
