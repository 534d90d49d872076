// What regsvr32 calls: the classes, their ProgIDs and the type library go into the registry, or out.
#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <cstdio>
#include <string>

#include "QlxWCommon_h.h"
#include "com/classes.h"
#include "com/classes_root.h"
#include "com/module.h"

namespace qlxw::com {
namespace {

constexpr std::wstring_view kProgIdPrefix = L"QlxWCommon.";
constexpr std::wstring_view kProgIdVersion = L".1";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// The bitness of this build: the type library is registered under its key (win32 or win64), so a
// 32-bit and a 64-bit server can be registered side by side.
constexpr SYSKIND kOwnSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
constexpr std::wstring_view kOwnPlatformKey = sizeof(void*) == 8 ? L"win64" : L"win32";
constexpr std::wstring_view kLibraryVersion = L"1.0";
// Automation's own marshallers: through the type library, or IDispatch alone.
constexpr std::wstring_view kTypeLibraryMarshaller = L"{00020424-0000-0000-C000-000000000046}";
constexpr std::wstring_view kDispatchMarshaller = L"{00020420-0000-0000-C000-000000000046}";

bool RegisterClass(const ClassesRoot& root, const CreatableClass& creatable, const std::wstring& modulePath) {
  const std::wstring classKey = L"CLSID\\" + GuidText(*creatable.classId);
  const std::wstring progId = std::wstring(kProgIdPrefix) + std::wstring(creatable.name);
  const std::wstring versionedProgId = progId + std::wstring(kProgIdVersion);
  const std::wstring classId = GuidText(*creatable.classId);
  return root.SetValue(classKey, nullptr, progId) &&
         root.SetValue(classKey + L"\\InprocServer32", nullptr, modulePath) &&
         root.SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
         root.SetValue(classKey + L"\\ProgID", nullptr, versionedProgId) &&
         root.SetValue(classKey + L"\\VersionIndependentProgID", nullptr, progId) &&
         root.SetValue(classKey + L"\\TypeLib", nullptr, GuidText(LIBID_QlxWCommon)) &&
         root.SetValue(classKey + L"\\Version", nullptr, std::wstring(kLibraryVersion)) &&
         root.SetValue(progId, nullptr, progId) && root.SetValue(progId + L"\\CLSID", nullptr, classId) &&
         root.SetValue(progId + L"\\CurVer", nullptr, versionedProgId) &&
         root.SetValue(versionedProgId, nullptr, progId) &&
         root.SetValue(versionedProgId + L"\\CLSID", nullptr, classId);
}

void UnregisterClass(const ClassesRoot& root, const CreatableClass& creatable) {
  const std::wstring progId = std::wstring(kProgIdPrefix) + std::wstring(creatable.name);
  root.DeleteTree(L"CLSID\\" + GuidText(*creatable.classId));
  root.DeleteTree(progId + std::wstring(kProgIdVersion));
  root.DeleteTree(progId);
}

std::wstring TypeLibraryKey() {
  return L"TypeLib\\" + GuidText(LIBID_QlxWCommon);
}

// The interfaces callers in other apartments reach through automation's marshallers, each with the
// marshaller it needs; what RegisterTypeLib writes for them.
template <class Visit>
void ForEachMarshalledInterface(ITypeLib* library, Visit visit) {
  const UINT count = library->GetTypeInfoCount();
  for (UINT index = 0; index < count; ++index) {
    ITypeInfo* info = nullptr;
    if (FAILED(library->GetTypeInfo(index, &info))) {
      continue;
    }
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
      const bool dual = (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
      const bool automation = (attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0;
      BSTR name = nullptr;
      info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
      const std::wstring interfaceName = name != nullptr ? name : L"";
      SysFreeString(name);
      if (attributes->typekind == TKIND_DISPATCH) {
        visit(attributes->guid, interfaceName, dual ? kTypeLibraryMarshaller : kDispatchMarshaller);
      } else if (attributes->typekind == TKIND_INTERFACE && (dual || automation)) {
        visit(attributes->guid, interfaceName, kTypeLibraryMarshaller);
      }
      info->ReleaseTypeAttr(attributes);
    }
    info->Release();
  }
}

// What the registry shows of the library: its help string, else its name.
std::wstring LibraryTitle(ITypeLib* library) {
  BSTR name = nullptr;
  BSTR help = nullptr;
  library->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr);
  std::wstring title = help != nullptr && *help != L'\0' ? help : (name != nullptr ? name : L"");
  SysFreeString(name);
  SysFreeString(help);
  return title;
}

// RegisterTypeLib writes to the machine's classes only: for one user the same keys are written here.
bool RegisterTypeLibraryForUser(const ClassesRoot& root, ITypeLib* library, const std::wstring& modulePath) {
  const std::wstring versionKey = TypeLibraryKey() + L"\\" + std::wstring(kLibraryVersion);
  const std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L'\\'));
  TLIBATTR* attributes = nullptr;
  if (FAILED(library->GetLibAttr(&attributes))) {
    return false;
  }
  wchar_t flags[8] = {};
  std::swprintf(flags, 8, L"%X", static_cast<unsigned>(attributes->wLibFlags));
  library->ReleaseTLibAttr(attributes);
  bool written = root.SetValue(versionKey, nullptr, LibraryTitle(library)) &&
                 root.SetValue(versionKey + L"\\FLAGS", nullptr, flags) &&
                 root.SetValue(versionKey + L"\\HELPDIR", nullptr, folder) &&
                 root.SetValue(versionKey + L"\\0\\" + std::wstring(kOwnPlatformKey), nullptr, modulePath);
  ForEachMarshalledInterface(
      library, [&](const GUID& iid, const std::wstring& name, std::wstring_view marshaller) {
        const std::wstring key = L"Interface\\" + GuidText(iid);
        written = written && root.SetValue(key, nullptr, name) &&
                  root.SetValue(key + L"\\ProxyStubClsid", nullptr, std::wstring(marshaller)) &&
                  root.SetValue(key + L"\\ProxyStubClsid32", nullptr, std::wstring(marshaller)) &&
                  root.SetValue(key + L"\\TypeLib", nullptr, GuidText(LIBID_QlxWCommon)) &&
                  root.SetValue(key + L"\\TypeLib", L"Version", std::wstring(kLibraryVersion));
      });
  return written;
}

// Removes this bitness's entry; the library and its interfaces go only when no other bitness is left.
void UnregisterTypeLibraryForUser(const ClassesRoot& root) {
  const std::wstring localeKey = TypeLibraryKey() + L"\\" + std::wstring(kLibraryVersion) + L"\\0";
  root.DeleteTree(localeKey + L"\\" + std::wstring(kOwnPlatformKey));
  if (root.HasSubkeys(localeKey)) {
    return;
  }
  if (ITypeLib* library = TypeLibrary(); library != nullptr) {
    ForEachMarshalledInterface(library, [&](const GUID& iid, const std::wstring&, std::wstring_view) {
      root.DeleteTree(L"Interface\\" + GuidText(iid));
    });
  }
  root.DeleteTree(TypeLibraryKey() + L"\\" + std::wstring(kLibraryVersion));
  if (!root.HasSubkeys(TypeLibraryKey())) {
    root.DeleteTree(TypeLibraryKey());
  }
}

enum class Scope { kMachine, kUser };

ClassesRoot RootOf(Scope scope) {
  return scope == Scope::kUser ? ClassesRoot::User() : ClassesRoot::Machine();
}

HRESULT Unregister(Scope scope) {
  const ClassesRoot root = RootOf(scope);
  for (const auto& creatable : CreatableClasses()) {
    UnregisterClass(root, creatable);
  }
  if (scope == Scope::kUser) {
    UnregisterTypeLibraryForUser(root);
    return S_OK;
  }
  // A library that was never registered is not an error here.
  const HRESULT result = UnRegisterTypeLib(LIBID_QlxWCommon, 1, 0, LOCALE_NEUTRAL, kOwnSysKind);
  return SUCCEEDED(result) || result == TYPE_E_LIBNOTREGISTERED || result == TYPE_E_REGISTRYACCESS ||
                 result == TYPE_E_CANTLOADLIBRARY
             ? S_OK
             : result;
}

HRESULT Register(Scope scope) {
  const ClassesRoot root = RootOf(scope);
  const std::wstring modulePath = ModulePath();
  ITypeLib* library = TypeLibrary();
  if (library == nullptr) {
    return SELFREG_E_TYPELIB;
  }
  std::wstring libraryPath = modulePath;
  const bool libraryRegistered = scope == Scope::kUser
                                     ? RegisterTypeLibraryForUser(root, library, modulePath)
                                     : SUCCEEDED(RegisterTypeLib(library, libraryPath.data(), nullptr));
  if (!libraryRegistered) {
    return SELFREG_E_TYPELIB;
  }
  for (const auto& creatable : CreatableClasses()) {
    if (!RegisterClass(root, creatable, modulePath)) {
      return SELFREG_E_CLASS;
    }
  }
  return S_OK;
}

// Registers, and removes whatever was written when that fails part way.
HRESULT RegisterWhole(Scope scope) {
  try {
    const HRESULT result = Register(scope);
    if (FAILED(result)) {
      Unregister(scope);
    }
    return result;
  } catch (...) {
    Unregister(scope);
    return E_OUTOFMEMORY;
  }
}

HRESULT UnregisterWhole(Scope scope) {
  try {
    return Unregister(scope);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace
}  // namespace qlxw::com

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return qlxw::com::RegisterWhole(qlxw::com::Scope::kMachine);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return qlxw::com::UnregisterWhole(qlxw::com::Scope::kMachine);
}

// What installers call (regsvr32 /i:user, or /n /i:user without DllRegisterServer): "user" registers
// for the current user alone, no text for the whole machine.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, PCWSTR commandLine) {
  using qlxw::com::Scope;
  Scope scope = Scope::kMachine;
  if (commandLine != nullptr && *commandLine != L'\0') {
    if (CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) != CSTR_EQUAL) {
      return E_INVALIDARG;
    }
    scope = Scope::kUser;
  }
  return install != FALSE ? qlxw::com::RegisterWhole(scope) : qlxw::com::UnregisterWhole(scope);
}
