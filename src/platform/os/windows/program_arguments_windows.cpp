#include <windows.h>

#include <shellapi.h>

#include "os/program_arguments.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) {
    arguments.push_back(CodePageFromWide(wide[i], CP_UTF8));
  }
  LocalFree(static_cast<HLOCAL>(wide));
  return arguments;
}

void UseUtf8Console() {
  SetConsoleOutputCP(CP_UTF8);
}

}  // namespace qlxw::platform
