// A C++ host that listens to QlxWCommon's events through a connection point, as a VB host's WithEvents
// does: the shared LocalInfo tells its listeners when a font changes.
//   events
#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>

#include <cstdio>
#include <initializer_list>

#include "QlxWCommon_h.h"

namespace {

// The host's listener: an IDispatch that the server calls with the event's dispatch id (1:
// ChangeFontName, 2: ChangeFontSize, 3: ChangeMenuFontSize) and its argument.
class FontListener final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, DIID___LocalInfo)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on main's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    if (id == 1 && params->cArgs == 1) {
      VARIANT name;
      VariantInit(&name);
      if (SUCCEEDED(VariantChangeType(&name, &params->rgvarg[0], 0, VT_BSTR))) {
        std::printf("ChangeFontName: %ls\n", name.bstrVal);
      }
      VariantClear(&name);
    }
    return S_OK;
  }

 private:
  ULONG references_ = 1;
};

int Run() {
  _clsCommon* common = nullptr;
  _LocalInfo* info = nullptr;
  IConnectionPointContainer* container = nullptr;
  IConnectionPoint* point = nullptr;
  FontListener listener;
  DWORD cookie = 0;
  HRESULT result = CoCreateInstance(CLSID_clsCommon, nullptr, CLSCTX_INPROC_SERVER, IID__clsCommon,
                                    reinterpret_cast<void**>(&common));
  if (SUCCEEDED(result) && SUCCEEDED(result = common->get_LocalInfo(&info)) &&
      SUCCEEDED(result = info->QueryInterface(IID_IConnectionPointContainer,
                                              reinterpret_cast<void**>(&container))) &&
      SUCCEEDED(result = container->FindConnectionPoint(DIID___LocalInfo, &point)) &&
      SUCCEEDED(result = point->Advise(&listener, &cookie))) {
    BSTR font = SysAllocString(L"Tahoma");
    result = info->put_FontName(font);  // the listener hears of it before the put returns
    SysFreeString(font);
    point->Unadvise(cookie);
  }
  for (IUnknown* held : {static_cast<IUnknown*>(point), static_cast<IUnknown*>(container),
                         static_cast<IUnknown*>(info), static_cast<IUnknown*>(common)}) {
    if (held != nullptr) {
      held->Release();
    }
  }
  if (FAILED(result)) {
    std::fprintf(stderr, "failed: 0x%08lX\n", static_cast<unsigned long>(result));
    return 1;
  }
  return 0;
}

}  // namespace

int main() {
  if (FAILED(CoInitialize(nullptr))) {
    return 1;
  }
  const int status = Run();
  CoUninitialize();
  return status;
}
