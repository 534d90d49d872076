#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "errors/lib_error.h"
#include "os/file_calls.h"
#include "os/type_library.h"
#include "os/type_library_image.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

[[noreturn]] void CannotRead(const std::string& file, std::string_view why) {
  throw LibError(kErrCannotLoadTypeLibrary,
                 "Cannot read the type library of " + file + ": " + std::string(why), {});
}

enum class Start { kRead, kUnread, kNotAFile };

// The first bytes of a file on a disk (all of a shorter one). A pipe or a device is not read: it could
// keep the loader waiting. A file that cannot be opened is left to the loader to report.
Start ReadFileStart(const std::wstring& path, std::string& start) {
  const FileCalls& calls = FileCallTable();
  HANDLE file = calls.createFile(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) {
    return Start::kUnread;
  }
  Start result = Start::kNotAFile;
  if (calls.getFileType(file) == FILE_TYPE_DISK) {
    start.assign(kTypeLibraryFileStart, '\0');
    std::size_t filled = 0;
    result = Start::kRead;
    while (filled < start.size()) {
      DWORD got = 0;
      if (calls.readFile(file, start.data() + filled, static_cast<DWORD>(start.size() - filled), &got) ==
          FALSE) {
        result = Start::kUnread;
        break;
      }
      if (got == 0) {
        break;
      }
      filled += got;
    }
    start.resize(filled);
  }
  calls.closeHandle(file);
  return result;
}

}  // namespace

std::string TypeLibraryName(const std::string& file) {
  const std::wstring path = WideFromUtf8(file);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    RaiseAutomationError(kErrFileNotFound);
  }
  // A file of another kind is refused from its first bytes, however large it is.
  std::string start;
  switch (ReadFileStart(path, start)) {
    case Start::kNotAFile:
      CannotRead(file, "the file cannot be read");
    case Start::kRead:
      if (const std::string_view problem = TypeLibraryStartProblem(start); !problem.empty()) {
        CannotRead(file, problem);
      }
      break;
    case Start::kUnread:
      break;
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
