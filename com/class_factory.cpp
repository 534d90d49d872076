// The class objects COM asks the module for, and whether the module may be unloaded.
#include <windows.h>

#include <unknwn.h>

#include <new>

#include "QlxWCommon_h.h"
#include "com/classes.h"
#include "com/module.h"
#include "com/unknown_impl.h"

namespace qlxw::com {
namespace {

class ClassFactory final : public UnknownImpl<ClassFactory, IClassFactory> {
 public:
  explicit ClassFactory(CreateFunction create) noexcept : create_(create) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = nullptr;
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    return create_(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

 private:
  CreateFunction create_;
};

constexpr CreatableClass kClasses[] = {
    {&CLSID_clsCommon, L"clsCommon", CreateClsCommon},
    {&CLSID_clsDebug, L"clsDebug", CreateClsDebug},
    {&CLSID_clsCommonTypes, L"clsCommonTypes", CreateClsCommonTypes},
    {&CLSID_CommonFacade, L"CommonFacade", CreateCommonFacade},
    {&CLSID_ILibAnchors, L"ILibAnchors", CreateLibAnchors},
    {&CLSID_INIManager, L"INIManager", CreateINIManager},
    {&CLSID_INIManager5, L"INIManager5", CreateINIManager5},
    {&CLSID_IAppSettings, L"IAppSettings", CreateAppSettings},
    {&CLSID_UILanguage, L"UILanguage", CreateUILanguage},
    // folders
    {&CLSID_Keys, L"Keys", CreateKeys},
    {&CLSID_FolderManager, L"FolderManager", CreateFolderManager},
    {&CLSID_clsFileSystemController, L"clsFileSystemController", CreateFileSystemController},
    {&CLSID_FSCReplacer, L"FSCReplacer", CreateFSCReplacer},
    // User-interface support: hot keys, locale and theme, PDF help.
    {&CLSID_HotKeys, L"HotKeys", CreateHotKeys},
    {&CLSID_LocalInfo, L"LocalInfo", CreateLocalInfo},
    {&CLSID_ITheme, L"ITheme", CreateITheme},
    {&CLSID_DefaultTheme, L"DefaultTheme", CreateDefaultTheme},
    {&CLSID_HelpControl, L"HelpControl", CreateHelpControl},
    // The menu and toolbar filler.
    {&CLSID_ActiveBarFiller, L"ActiveBarFiller", CreateActiveBarFiller},
};

}  // namespace

std::span<const CreatableClass> CreatableClasses() {
  return kClasses;
}

}  // namespace qlxw::com

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  for (const auto& creatable : qlxw::com::CreatableClasses()) {
    if (IsEqualCLSID(classId, *creatable.classId)) {
      auto* factory = new (std::nothrow) qlxw::com::ClassFactory(creatable.create);
      if (factory == nullptr) {
        return E_OUTOFMEMORY;
      }
      return qlxw::com::ClassFactory::HandOut(factory, iid, out);
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return qlxw::com::ModuleInUse() ? S_FALSE : S_OK;
}
