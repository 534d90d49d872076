// What regsvr32 calls: the classes, their ProgIDs and the type library go into the registry, or out.
#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/runtime/module.h"
#include "com/server/classes_root.h"
#include "com/server/type_library_keys.h"

namespace qlxw::com {
namespace {

constexpr std::wstring_view kProgIdPrefix = L"QlxWCommon.";
constexpr std::wstring_view kProgIdVersion = L".1";

// The bitness of this build: the machine's type library is unregistered under its key.
constexpr SYSKIND kOwnSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

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
  const std::wstring classKey = L"CLSID\\" + GuidText(*creatable.classId);
  root.DeleteTree(classKey);
  // The ProgIDs are shared by both bitnesses: they stay while the other bitness's server is registered
  // (where there is no other view, the key just removed is looked at, and they go).
  if (root.InOtherView(classKey)) {
    return;
  }
  const std::wstring progId = std::wstring(kProgIdPrefix) + std::wstring(creatable.name);
  root.DeleteTree(progId + std::wstring(kProgIdVersion));
  root.DeleteTree(progId);
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
