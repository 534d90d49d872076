// The class objects COM asks the module for, and whether the module may be unloaded.
#include <windows.h>

#include <unknwn.h>

#include <atomic>
#include <new>

#include "QlxWCommon_h.h"
#include "com/classes.h"
#include "com/module.h"

namespace qlxw::com {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(CreateFunction create) noexcept : create_(create) { ObjectCreated(); }
  ~ClassFactory() { ObjectDestroyed(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

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
  std::atomic<ULONG> references_{0};
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
    // User-interface support: hot keys, locale and theme, PDF help.
    {&CLSID_HotKeys, L"HotKeys", CreateHotKeys},
    {&CLSID_LocalInfo, L"LocalInfo", CreateLocalInfo},
    {&CLSID_ITheme, L"ITheme", CreateITheme},
    {&CLSID_DefaultTheme, L"DefaultTheme", CreateDefaultTheme},
    {&CLSID_HelpControl, L"HelpControl", CreateHelpControl},
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
      factory->AddRef();
      const HRESULT result = factory->QueryInterface(iid, out);
      factory->Release();
      return result;
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return qlxw::com::ModuleInUse() ? S_FALSE : S_OK;
}
