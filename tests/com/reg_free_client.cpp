// A host that uses the server without registering it: it activates the context of the manifest
// beside the DLL and creates every class the type library says is creatable, by class id and by
// ProgID; the others stay unknown. Run with nothing registered; the first check makes sure of that.
//   qlxw_reg_free_client.exe PATH\QlxWCommon.manifest PATH\QlxWCommon.dll
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>

namespace {

int gFailures = 0;

void Check(bool condition, const std::wstring& what) {
  if (!condition) {
    ++gFailures;
    std::fwprintf(stdout, L"FAILED: %ls\n", what.c_str());
  }
}

std::wstring Hex(HRESULT result) {
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
  return text;
}

// Whether COM reaches the class's server: the object is made, or the server itself refused it with
// its own error (a class may need the library set up first). COM's own failures carry no error info.
bool ReachesServer(const CLSID& classId, HRESULT& result) {
  IDispatch* object = nullptr;
  result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&object));
  if (SUCCEEDED(result) && object != nullptr) {
    object->Release();
    return true;
  }
  IErrorInfo* error = nullptr;
  if (GetErrorInfo(0, &error) == S_OK && error != nullptr) {
    error->Release();
    return true;
  }
  return false;
}

// Each class of the library: creatable ones come from the manifest by id and by ProgID, the others
// not at all. Returns how many were created.
int CheckClasses(ITypeLib* library) {
  int created = 0;
  const UINT count = library->GetTypeInfoCount();
  for (UINT index = 0; index < count; ++index) {
    TYPEKIND kind{};
    ITypeInfo* info = nullptr;
    if (FAILED(library->GetTypeInfoType(index, &kind)) || kind != TKIND_COCLASS ||
        FAILED(library->GetTypeInfo(index, &info))) {
      continue;
    }
    TYPEATTR* attributes = nullptr;
    BSTR name = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attributes)) &&
        SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
      const CLSID classId = attributes->guid;
      const std::wstring progId = std::wstring(L"QlxWCommon.") + name;
      if ((attributes->wTypeFlags & TYPEFLAG_FCANCREATE) != 0) {
        HRESULT made = S_OK;
        const bool reached = ReachesServer(classId, made);
        Check(reached, std::wstring(name) + L" cannot be created: " + Hex(made));
        created += reached ? 1 : 0;
        // A context answers a ProgID with an alias of the class id it made up, as script hosts get it.
        CLSID alias{};
        const HRESULT lookup = CLSIDFromProgID(progId.c_str(), &alias);
        Check(SUCCEEDED(lookup) && ReachesServer(alias, made),
              progId + L" is unknown: " + Hex(lookup) + L" " + Hex(made));
      } else {
        HRESULT made = S_OK;
        Check(!ReachesServer(classId, made), std::wstring(name) + L" is not creatable, yet was created");
      }
    }
    SysFreeString(name);
    if (attributes != nullptr) {
      info->ReleaseTypeAttr(attributes);
    }
    info->Release();
  }
  return created;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fwprintf(stderr, L"usage: qlxw_reg_free_client MANIFEST DLL\n");
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    return 2;
  }
  // LIBID of the server's type library.
  constexpr GUID kLibraryId = {0xadf5e175, 0x8483, 0x44f0, {0x98, 0xc3, 0x37, 0xed, 0x08, 0x02, 0xe0, 0xd4}};
  CLSID rootClass{};
  Check(FAILED(CLSIDFromProgID(L"QlxWCommon.clsCommon", &rootClass)), L"the server is registered");
  ITypeLib* registered = nullptr;
  Check(FAILED(LoadRegTypeLib(kLibraryId, 1, 0, LOCALE_NEUTRAL, &registered)),
        L"the type library is registered");

  ACTCTXW context{};
  context.cbSize = sizeof(context);
  context.lpSource = argv[1];
  HANDLE handle = CreateActCtxW(&context);
  ULONG_PTR cookie = 0;
  if (handle == INVALID_HANDLE_VALUE || ActivateActCtx(handle, &cookie) == FALSE) {
    std::fwprintf(stdout, L"FAILED: cannot activate the context of %ls (error %lu)\n", argv[1],
                  GetLastError());
    return 1;
  }
  ITypeLib* library = nullptr;
  int created = 0;
  if (SUCCEEDED(LoadTypeLibEx(argv[2], REGKIND_NONE, &library))) {
    created = CheckClasses(library);
    library->Release();
  } else {
    Check(false, std::wstring(L"no type library in ") + argv[2]);
  }
  Check(created > 0, L"no class created");
  DeactivateActCtx(0, cookie);
  ReleaseActCtx(handle);
  CoUninitialize();
  std::fwprintf(stdout, L"%d classes created through the manifest, %d failed\n", created, gFailures);
  return gFailures == 0 ? 0 : 1;
}
