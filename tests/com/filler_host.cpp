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

// The interface's dispatch side (as servers of dual interfaces give it) or its vtable side.
ITypeInfo* InterfaceInfo(bool vtableSide) {
  static ITypeInfo* dispatchSide = nullptr;
  static ITypeInfo* vtable = nullptr;
  if (vtable == nullptr) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(gModule, path, MAX_PATH);
    ITypeLib* library = nullptr;
    HREFTYPE reference = 0;
    if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library)) ||
        FAILED(library->GetTypeInfoOfGuid(IID__ResCore, &dispatchSide)) ||
        FAILED(dispatchSide->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)) ||
        FAILED(dispatchSide->GetRefTypeInfo(reference, &vtable))) {
      return nullptr;
    }
    library->Release();
  }
  return vtableSide ? vtable : dispatchSide;
}

// Sets the host object's "Tag" (script objects may answer names only through IDispatchEx).
HRESULT PutTag(IDispatch* control, const std::wstring& text) {
  wchar_t name[] = L"Tag";
  LPOLESTR names = name;
  DISPID id = DISPID_UNKNOWN;
  IDispatchEx* extended = nullptr;
  if (FAILED(control->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id)) &&
      SUCCEEDED(control->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&extended)))) {
    BSTR wanted = SysAllocString(name);
    extended->GetDispID(wanted, fdexNameCaseInsensitive, &id);
    SysFreeString(wanted);
    extended->Release();
  }
  VARIANT value{};
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(text.c_str());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &put, 1, 1};
  const HRESULT done = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                                       nullptr, nullptr, nullptr);
  VariantClear(&value);
  return done;
}

std::wstring Text(const OLECHAR* text) {
  return text != nullptr ? text : L"";
}

// One object per class, as long-lived as the module: the class's factory and its one instance.
class Component final : public _ResCore, public IClassFactory {
 public:
  explicit Component(const wchar_t* which) : which_(which) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
    } else if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
               IsEqualIID(iid, IID__ResCore)) {
      *out = static_cast<_ResCore*>(this);
    }
    return *out != nullptr ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    return outer != nullptr ? CLASS_E_NOAGGREGATION : QueryInterface(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL /*lock*/) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 1;
    return S_OK;
  }
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
    refused_ = false;
    const HRESULT done =
        DispInvoke(static_cast<_ResCore*>(this), info, id, flags, params, result, exception, argumentError);
    if (!refused_ || exception == nullptr) {
      return done;
    }
    *exception = EXCEPINFO{};
    exception->scode = kRefused;
    exception->bstrDescription = SysAllocString(L"Pattern refused");
    exception->bstrSource = SysAllocString(L"QlxWFillerHost");
    return DISP_E_EXCEPTION;
  }

  HRESULT STDMETHODCALLTYPE FillBar(BSTR form, BSTR bar, BSTR pattern, LONG language,
                                    IDispatch* control) override {
    refused_ = Text(pattern) == L"Refuse";
    return refused_ ? kRefused
                    : PutTag(control, std::wstring(which_) + L"|" + Text(form) + L"|" + Text(bar) + L"|" +
                                          Text(pattern) + L"|" + std::to_wstring(language));
  }
  HRESULT STDMETHODCALLTYPE NotTheFill(BSTR /*form*/, BSTR /*bar*/, BSTR /*pattern*/, LONG /*language*/,
                                       IDispatch* control) override {
    return PutTag(control, L"the second method was called");
  }

 private:
  static constexpr HRESULT kRefused = static_cast<HRESULT>(0x800A03E9);  // error 1001
  const wchar_t* which_;
  bool refused_ = false;
};

Component gLibraryNamed(L"library");
Component gExeNamed(L"exe");

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = module;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (IsEqualCLSID(classId, CLSID_LibraryNamed) || IsEqualCLSID(classId, CLSID_ExeNamed)) {
    return (IsEqualCLSID(classId, CLSID_LibraryNamed) ? gLibraryNamed : gExeNamed).QueryInterface(iid, out);
  }
  *out = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

// The objects live as long as the module.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return S_FALSE;
}
