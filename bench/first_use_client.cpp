// A host's first use of the library in a fresh process, timed with the performance counter, against the
// system's scripting runtime's first use in one of its own: the calls bench/first_use.vbs makes, made as
// a late-bound client makes them (ProgID, IDispatch, names, Invoke).
//   qlxw_first_use library|runtime FOLDER
// Prints the milliseconds of the whole use, then of each step (creation, then each call with its name
// lookup), tab-separated. Run by bench/first_use.sh, one process a figure.
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceCounter(&started_); }
  // Ends a step: its time is kept, the next one starts now.
  void Lap() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    laps_.push_back(now);
  }
  void Print() const {
    std::printf("%.2f", laps_.empty() ? 0.0 : Milliseconds(started_, laps_.back()));
    LARGE_INTEGER from = started_;
    for (const LARGE_INTEGER& lap : laps_) {
      std::printf("\t%.2f", Milliseconds(from, lap));
      from = lap;
    }
    std::printf("\n");
  }

 private:
  LARGE_INTEGER started_{};
  std::vector<LARGE_INTEGER> laps_;
};

[[noreturn]] void Fail(const char* what, HRESULT result) {
  std::fprintf(stderr, "qlxw_first_use: %s failed (0x%08lX)\n", what, static_cast<unsigned long>(result));
  std::exit(1);
}

IDispatch* Create(const wchar_t* progId) {
  CLSID id;
  HRESULT result = CLSIDFromProgID(progId, &id);
  if (FAILED(result)) {
    Fail("CLSIDFromProgID", result);
  }
  IDispatch* object = nullptr;
  result =
      CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object));
  if (FAILED(result)) {
    Fail("CoCreateInstance", result);
  }
  return object;
}

// One late-bound call as a script makes it: the name, then Invoke. Arguments in the caller's order.
void Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> arguments) {
  DISPID id = 0;
  std::wstring copy(name);  // GetIDsOfNames takes names it may not change, as not const
  LPOLESTR names = copy.data();
  HRESULT result = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(result)) {
    Fail("GetIDsOfNames", result);
  }
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if ((flags & DISPATCH_PROPERTYPUT) != 0) {
    parameters.rgdispidNamedArgs = &put;
    parameters.cNamedArgs = 1;
  }
  VARIANT answer;
  VariantInit(&answer);
  result = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                          (flags & DISPATCH_PROPERTYPUT) != 0 ? nullptr : &answer, nullptr, nullptr);
  if (FAILED(result)) {
    Fail("Invoke", result);
  }
  VariantClear(&answer);
  for (VARIANT& argument : arguments) {
    VariantClear(&argument);
  }
}

VARIANT Text(const std::wstring& text) {
  VARIANT value;
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(text.c_str());
  return value;
}

VARIANT Number(long number) {
  VARIANT value;
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  return value;
}

constexpr WORD kRead = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || (std::wcscmp(argv[1], L"library") != 0 && std::wcscmp(argv[1], L"runtime") != 0)) {
    std::fprintf(stderr, "usage: qlxw_first_use library|runtime FOLDER\n");
    return 2;
  }
  const std::wstring folder = argv[2];
  // A script host has its apartment and the system DLLs it imports before the script starts.
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    return 1;
  }
  for (const wchar_t* loaded : {L"oleaut32.dll", L"shell32.dll", L"user32.dll", L"advapi32.dll"}) {
    LoadLibraryW(loaded);
  }
  Stopwatch watch;
  if (std::wcscmp(argv[1], L"library") == 0) {
    IDispatch* root = Create(L"QlxWCommon.clsCommon");
    watch.Lap();
    Call(root, L"MainVer", DISPATCH_PROPERTYPUT, {Number(5)});
    watch.Lap();
    Call(root, L"INIFileName", DISPATCH_PROPERTYPUT, {Text(folder + L"\\first-use.ini")});
    watch.Lap();
    Call(root, L"LoadINIValueByKey", kRead, {Text(L"Values"), Text(L"Name")});
    watch.Lap();
    root->Release();
  } else {
    IDispatch* dictionary = Create(L"Scripting.Dictionary");
    watch.Lap();
    Call(dictionary, L"Add", DISPATCH_METHOD, {Text(L"Key"), Text(L"value")});
    watch.Lap();
    IDispatch* files = Create(L"Scripting.FileSystemObject");
    watch.Lap();
    Call(files, L"FileExists", kRead, {Text(folder + L"\\first-use.ini")});
    watch.Lap();
    files->Release();
    dictionary->Release();
  }
  watch.Print();
  CoUninitialize();
  return 0;
}
