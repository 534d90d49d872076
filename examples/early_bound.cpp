// A C++ host's first steps with QlxWCommon, early-bound through the header made from its type library:
// the root object, the INI file, a value written and read back, and an error as the server reports it
// (an HRESULT, with the number's text in the error info).
//   early_bound FOLDER
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>

#include "QlxWCommon_h.h"

namespace {

// A BSTR that frees itself.
class Text {
 public:
  explicit Text(const std::wstring& text) : value_(SysAllocString(text.c_str())) {}
  Text() = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(value_); }
  BSTR* operator&() { return &value_; }
  BSTR get() const { return value_; }

 private:
  BSTR value_ = nullptr;
};

int Fail(const char* step, HRESULT result) {
  std::fprintf(stderr, "%s failed: 0x%08lX\n", step, static_cast<unsigned long>(result));
  return 1;
}

// The description the server left with a failed call, through the thread's error info.
std::wstring ErrorDescription() {
  IErrorInfo* info = nullptr;
  std::wstring text;
  if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
    Text description;
    if (SUCCEEDED(info->GetDescription(&description)) && description.get() != nullptr) {
      text = description.get();
    }
    info->Release();
  }
  return text;
}

int Run(const std::wstring& folder) {
  _clsCommon* common = nullptr;
  HRESULT result = CoCreateInstance(CLSID_clsCommon, nullptr, CLSCTX_INPROC_SERVER, IID__clsCommon,
                                    reinterpret_cast<void**>(&common));
  if (FAILED(result)) {
    return Fail("CoCreateInstance", result);
  }
  Text file(folder + L"\\example.ini");
  Text section(L"Setup");
  Text key(L"Units");
  Text value(L"metric");
  Text read;
  if (FAILED(result = common->put_MainVer(5)) || FAILED(result = common->put_INIFileName(&file)) ||
      FAILED(result = common->WriteINIValueByKey(&section, &key, &value)) ||
      FAILED(result = common->LoadINIValueByKey(&section, &key, &read))) {
    common->Release();
    return Fail("the settings", result);
  }
  std::printf("Units: %ls\n", read.get());
  Text other(folder + L"\\other.ini");
  result = common->put_INIFileName(&other);  // a second name is refused
  std::printf("Error %08lX: %ls\n", static_cast<unsigned long>(result), ErrorDescription().c_str());
  common->Release();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: early_bound FOLDER\n");
    return 2;
  }
  if (FAILED(CoInitialize(nullptr))) {
    return 1;
  }
  const int status = Run(argv[1]);
  CoUninitialize();
  return status;
}
