// A resource component of a host, for the filler's tests under Wine: its fill operation writes what it
// received into the control's "Tag" ("which|form|bar|pattern|language"), or fails for the pattern
// "Refuse". run.sh registers its two classes in the registry, one under each ProgID the filler derives.
#include <windows.h>

#include <dispex.h>
#include <oleauto.h>

#include <string>

#include "filler_host_h.h"

namespace {

HMODULE gModule = nullptr;
LONG gObjects = 0;

ITypeInfo* InterfaceInfo(bool vtableSide) {
  static ITypeInfo* dispatchSide = nullptr;
  static ITypeInfo* vtable = nullptr;
  if (dispatchSide == nullptr) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(gModule, path, MAX_PATH);
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library))) {
      return nullptr;
    }
    library->GetTypeInfoOfGuid(IID__ResCore, &dispatchSide);
    library->Release();
    HREFTYPE reference = 0;
    if (dispatchSide == nullptr ||
        FAILED(dispatchSide->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)) ||
        FAILED(dispatchSide->GetRefTypeInfo(reference, &vtable))) {
      return nullptr;
    }
  }
  return vtableSide ? vtable : dispatchSide;
}

// Sets the host object's "Tag" (script objects may answer names only through IDispatchEx).
HRESULT PutTag(IDispatch* control, const std::wstring& text) {
  if (control == nullptr) {
    return E_POINTER;
  }
  DISPID id = DISPID_UNKNOWN;
  wchar_t name[] = L"Tag";
  LPOLESTR names = name;
  if (FAILED(control->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id))) {
    IDispatchEx* extended = nullptr;
    if (FAILED(control->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&extended)))) {
      return DISP_E_UNKNOWNNAME;
    }
    BSTR wanted = SysAllocString(name);
    const HRESULT found = extended->GetDispID(wanted, fdexNameCaseInsensitive, &id);
    SysFreeString(wanted);
    extended->Release();
    if (FAILED(found)) {
      return found;
    }
  }
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(text.c_str());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &put, 1, 1};
  const HRESULT done = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                                       nullptr, nullptr, nullptr);
  VariantClear(&value);
  return done;
}

class ResourceComponent final : public _ResCore {
 public:
  explicit ResourceComponent(const wchar_t* which) : which_(which) { InterlockedIncrement(&gObjects); }
  ~ResourceComponent() { InterlockedDecrement(&gObjects); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID__ResCore)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) {
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 1;
    return S_OK;
  }
  // The dispatch side, as servers of dual interfaces give it.
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** info) override {
    *info = InterfaceInfo(false);
    if (*info == nullptr) {
      return E_UNEXPECTED;
    }
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*reserved*/, LPOLESTR* names, UINT count, LCID /*locale*/,
                                          DISPID* ids) override {
    ITypeInfo* info = InterfaceInfo(true);
    return info == nullptr ? E_UNEXPECTED : DispGetIDsOfNames(info, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID /*reserved*/, LCID /*locale*/, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    ITypeInfo* info = InterfaceInfo(true);
    if (info == nullptr) {
      return E_UNEXPECTED;
    }
    failure_.clear();
    const HRESULT done = DispInvoke(this, info, id, flags, params, result, exception, argumentError);
    if (!failure_.empty() && exception != nullptr) {
      *exception = EXCEPINFO{};
      exception->scode = kRefused;
      exception->bstrDescription = SysAllocString(failure_.c_str());
      exception->bstrSource = SysAllocString(L"QlxWFillerHost");
      return DISP_E_EXCEPTION;
    }
    return done;
  }

  HRESULT STDMETHODCALLTYPE FillBar(BSTR form, BSTR bar, BSTR pattern, LONG language,
                                    IDispatch* control) override {
    const std::wstring patternText = pattern != nullptr ? pattern : L"";
    if (patternText == L"Refuse") {
      failure_ = L"Pattern refused";
      return kRefused;
    }
    return PutTag(control, std::wstring(which_) + L"|" + Text(form) + L"|" + Text(bar) + L"|" + patternText +
                               L"|" + std::to_wstring(language));
  }
  HRESULT STDMETHODCALLTYPE NotTheFill(BSTR /*form*/, BSTR /*bar*/, BSTR /*pattern*/, LONG /*language*/,
                                       IDispatch* control) override {
    return PutTag(control, L"the second method was called");
  }

 private:
  static constexpr HRESULT kRefused = static_cast<HRESULT>(0x800A03E9);  // error 1001
  static std::wstring Text(const OLECHAR* text) { return text != nullptr ? text : L""; }

  LONG refs_ = 1;
  const wchar_t* which_;
  std::wstring failure_;
};

class Factory final : public IClassFactory {
 public:
  explicit Factory(const wchar_t* which) : which_(which) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    auto* made = new ResourceComponent(which_);
    const HRESULT result = made->QueryInterface(iid, out);
    made->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL /*lock*/) override { return S_OK; }

 private:
  const wchar_t* which_;
};

Factory gLibraryNamed(L"library");
Factory gExeNamed(L"exe");

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = module;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (IsEqualCLSID(classId, CLSID_LibraryNamed)) {
    return gLibraryNamed.QueryInterface(iid, out);
  }
  if (IsEqualCLSID(classId, CLSID_ExeNamed)) {
    return gExeNamed.QueryInterface(iid, out);
  }
  *out = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return gObjects == 0 ? S_OK : S_FALSE;
}
