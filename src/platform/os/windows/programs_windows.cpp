#include <windows.h>

#include <string>
#include <vector>

#include "errors/lib_error.h"
#include "os/programs.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

// One argument as the C runtime splits a command line: quoted when it holds blanks or quotes.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

}  // namespace

void StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  const std::wstring path = WideFromUtf8(program);
  std::wstring commandLine = Quoted(path);
  for (const std::string& argument : arguments) {
    commandLine += L" ";
    commandLine += Quoted(WideFromUtf8(argument));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;  // minimized, and given the focus
  PROCESS_INFORMATION process{};
  if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process) == FALSE) {
    RaiseAutomationError(kErrFileNotFound);
  }
  // The viewer gets its window up before the first command comes; a program still busy after 5 s is
  // left to the DDE connection's own wait (dde_windows.cpp), so that the host's thread is not held longer.
  constexpr DWORD kStartUpWaitMs = 5000;
  WaitForInputIdle(process.hProcess, kStartUpWaitMs);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace qlxw::platform
