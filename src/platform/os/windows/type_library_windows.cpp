#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "errors/lib_error.h"
#include "os/files.h"
#include "os/type_library.h"
#include "os/type_library_image.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

[[noreturn]] void CannotRead(const std::string& file, std::string_view why) {
  throw LibError(kErrCannotLoadTypeLibrary,
                 "Cannot read the type library of " + file + ": " + std::string(why), {});
}

}  // namespace

std::string TypeLibraryName(const std::string& file) {
  const std::wstring path = WideFromUtf8(file);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    RaiseAutomationError(kErrFileNotFound);
  }
  // A file of another kind is refused from its first bytes, however large it is; a pipe or a device is
  // not given to the loader, which it could keep waiting. A file that cannot be read is left to the
  // loader to report.
  std::string start;
  if (const FileResult read = ReadFileStart(file, kTypeLibraryFileStart, start); read.Ok()) {
    if (const std::string_view problem = TypeLibraryStartProblem(start); !problem.empty()) {
      CannotRead(file, problem);
    }
  } else if (read.systemError == ERROR_BAD_FILE_TYPE) {
    CannotRead(file, "the file cannot be read");
  }
  // Read only: the library is not registered on the way.
  ITypeLib* library = nullptr;
  const HRESULT loaded = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
  if (FAILED(loaded)) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(loaded));
    CannotRead(file, std::string("the system cannot load one (") + number + ")");
  }
  BSTR name = nullptr;
  const HRESULT named = library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  library->Release();
  std::string text = Utf8FromBstr(name);
  SysFreeString(name);
  if (FAILED(named) || text.empty()) {
    CannotRead(file, "it has no name");
  }
  return text;
}

}  // namespace qlxw::platform
