// What regsvr32 calls: the classes, their ProgIDs and the type library go into the registry, or out.
#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "QlxWCommon_h.h"
#include "com/classes.h"
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

// Writes one value (the key's default when `name` is null), creating the key.
bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  const LSTATUS status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

void DeleteTree(const std::wstring& key) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

bool RegisterClass(const CreatableClass& creatable, const std::wstring& modulePath) {
  const std::wstring classKey = L"CLSID\\" + GuidText(*creatable.classId);
  const std::wstring progId = std::wstring(kProgIdPrefix) + std::wstring(creatable.name);
  const std::wstring versionedProgId = progId + std::wstring(kProgIdVersion);
  const std::wstring classId = GuidText(*creatable.classId);
  return SetValue(classKey, nullptr, progId) &&
         SetValue(classKey + L"\\InprocServer32", nullptr, modulePath) &&
         SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
         SetValue(classKey + L"\\ProgID", nullptr, versionedProgId) &&
         SetValue(classKey + L"\\VersionIndependentProgID", nullptr, progId) &&
         SetValue(classKey + L"\\TypeLib", nullptr, GuidText(LIBID_QlxWCommon)) &&
         SetValue(classKey + L"\\Version", nullptr, L"1.0") && SetValue(progId, nullptr, progId) &&
         SetValue(progId + L"\\CLSID", nullptr, classId) &&
         SetValue(progId + L"\\CurVer", nullptr, versionedProgId) &&
         SetValue(versionedProgId, nullptr, progId) &&
         SetValue(versionedProgId + L"\\CLSID", nullptr, classId);
}

void UnregisterClass(const CreatableClass& creatable) {
  const std::wstring progId = std::wstring(kProgIdPrefix) + std::wstring(creatable.name);
  DeleteTree(L"CLSID\\" + GuidText(*creatable.classId));
  DeleteTree(progId + std::wstring(kProgIdVersion));
  DeleteTree(progId);
}

HRESULT Unregister() {
  for (const auto& creatable : CreatableClasses()) {
    UnregisterClass(creatable);
  }
  // The library's version is 1.0; a library that was never registered is not an error here.
  const HRESULT result = UnRegisterTypeLib(LIBID_QlxWCommon, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
  return SUCCEEDED(result) || result == TYPE_E_LIBNOTREGISTERED || result == TYPE_E_REGISTRYACCESS ||
                 result == TYPE_E_CANTLOADLIBRARY
             ? S_OK
             : result;
}

HRESULT Register() {
  const std::wstring modulePath = ModulePath();
  ITypeLib* library = TypeLibrary();
  if (library == nullptr) {
    return SELFREG_E_TYPELIB;
  }
  std::wstring libraryPath = modulePath;
  if (FAILED(RegisterTypeLib(library, libraryPath.data(), nullptr))) {
    return SELFREG_E_TYPELIB;
  }
  for (const auto& creatable : CreatableClasses()) {
    if (!RegisterClass(creatable, modulePath)) {
      return SELFREG_E_CLASS;
    }
  }
  return S_OK;
}

}  // namespace
}  // namespace qlxw::com

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  try {
    const HRESULT result = qlxw::com::Register();
    if (FAILED(result)) {
      qlxw::com::Unregister();  // nothing half-registered stays behind
    }
    return result;
  } catch (...) {
    qlxw::com::Unregister();
    return E_OUTOFMEMORY;
  }
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  try {
    return qlxw::com::Unregister();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}
