#pragma once
// What an object tells about itself: which of its interfaces give error info (ISupportErrorInfo) and
// its class in the type library (IProvideClassInfo).
#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>

#include "com/runtime/module.h"

namespace qlxw::com {

// Every interface of `Interfaces` reports its failures as error info.
template <class... Interfaces>
class ErrorInfoSupport : public ISupportErrorInfo {
 public:
  using Implemented = ISupportErrorInfo;

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
    const bool ours = (IsEqualIID(iid, __uuidof(Interfaces)) || ...);
    return ours ? S_OK : S_FALSE;
  }
};

// The class `Derived::ClassId()` of the type library.
template <class Derived>
class ClassInfoProvider : public IProvideClassInfo {
 public:
  using Implemented = IProvideClassInfo;

  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
    if (info == nullptr) {
      return E_POINTER;
    }
    *info = TypeInfoOf(Derived::ClassId());
    if (*info == nullptr) {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    (*info)->AddRef();
    return S_OK;
  }
};

}  // namespace qlxw::com
