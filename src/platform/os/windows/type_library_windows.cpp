#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>

#include "errors/lib_error.h"
#include "os/type_library.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

std::string TypeLibraryName(const std::string& file) {
  const std::wstring path = WideFromUtf8(file);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    RaiseAutomationError(kErrFileNotFound);
  }
  // Read only: the library is not registered on the way.
  ITypeLib* library = nullptr;
  const HRESULT loaded = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
  if (FAILED(loaded)) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(loaded));
    throw LibError(
        kErrCannotLoadTypeLibrary,
        "Cannot read the type library of " + file + ": the system cannot load one (" + number + ")", {});
  }
  BSTR name = nullptr;
  const HRESULT named = library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  library->Release();
  std::string text = Utf8FromBstr(name);
  SysFreeString(name);
  if (FAILED(named) || text.empty()) {
    throw LibError(kErrCannotLoadTypeLibrary, "Cannot read the type library of " + file + ": it has no name",
                   {});
  }
  return text;
}

}  // namespace qlxw::platform
