#include <windows.h>

#include <shellapi.h>

#include <cstdint>

#include "os/file_association.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

ProgramForFile FindProgramForFile(const std::string& file) {
  wchar_t program[MAX_PATH + 1] = {};
  const std::wstring wideFile = WideFromUtf8(file);
  const auto code = reinterpret_cast<std::intptr_t>(FindExecutableW(wideFile.c_str(), nullptr, program));
  if (code <= 32) {
    return {static_cast<std::int32_t>(code), {}};
  }
  return {static_cast<std::int32_t>(code), Utf8FromWide(program)};
}

}  // namespace qlxw::platform
