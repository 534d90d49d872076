#pragma once
// One template gives every class of the server its IUnknown, IDispatch (served from the type
// library), ISupportErrorInfo and IProvideClassInfo; a class writes only its own members.
#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>
#include <oleauto.h>

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "com/boundary.h"
#include "com/module.h"

namespace qlxw::com {

// Script hosts pass their variables by reference, as variants, which the type library will not turn
// into a by-reference text or number. The library only reads its by-reference arguments, so the
// values are passed on instead.
class ArgumentsByValue {
 public:
  explicit ArgumentsByValue(DISPPARAMS* params);
  ~ArgumentsByValue();
  ArgumentsByValue(const ArgumentsByValue&) = delete;
  ArgumentsByValue& operator=(const ArgumentsByValue&) = delete;
  DISPPARAMS* Params() noexcept { return params_; }

 private:
  DISPPARAMS* params_;
  DISPPARAMS copy_{};
  std::vector<VARIANT> values_;
  std::vector<bool> owned_;  // copies made here, cleared here
};

// IDispatch of one dual interface: names and calls go through the interface's type information, so
// late-bound callers get the same argument checks, defaults and conversions as the type library states.
template <class Interface>
class DispatchImpl : public Interface {
 public:
  using Implemented = Interface;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) {
      return E_POINTER;
    }
    *count = 1;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) override {
    if (info == nullptr) {
      return E_POINTER;
    }
    *info = nullptr;
    if (index != 0) {
      return DISP_E_BADINDEX;
    }
    ITypeInfo* found = TypeInfoOf(__uuidof(Interface));
    if (found == nullptr) {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    found->AddRef();
    *info = found;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*reserved*/, LPOLESTR* names, UINT count, LCID /*locale*/,
                                          DISPID* ids) override {
    ITypeInfo* info = TypeInfoOf(__uuidof(Interface));
    return info == nullptr ? E_UNEXPECTED : info->GetIDsOfNames(names, count, ids);
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID reserved, LCID /*locale*/, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    if (!IsEqualIID(reserved, IID_NULL)) {
      return DISP_E_UNKNOWNINTERFACE;
    }
    ITypeInfo* info = TypeInfoOf(__uuidof(Interface));
    if (info == nullptr) {
      return E_UNEXPECTED;
    }
    ArgumentsByValue arguments(params);
    return info->Invoke(static_cast<Interface*>(this), id, flags, arguments.Params(), result, exception,
                        argumentError);
  }
};

// The default IDispatch of a class that also implements `Also`: late-bound callers reach the members
// of both by name, as they would expect of one object. The dispatch ids of the two must not overlap.
template <class Interface, class Also>
class DispatchWithSecond : public DispatchImpl<Interface> {
 public:
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID reserved, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    const HRESULT own = DispatchImpl<Interface>::GetIDsOfNames(reserved, names, count, locale, ids);
    ITypeInfo* second = TypeInfoOf(__uuidof(Also));
    return SUCCEEDED(own) || second == nullptr ? own : second->GetIDsOfNames(names, count, ids);
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID reserved, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
    ITypeInfo* own = TypeInfoOf(__uuidof(Interface));
    ITypeInfo* second = TypeInfoOf(__uuidof(Also));
    if (own == nullptr || second == nullptr || HasMember(own, id) || !IsEqualIID(reserved, IID_NULL)) {
      return DispatchImpl<Interface>::Invoke(id, reserved, locale, flags, params, result, exception,
                                             argumentError);
    }
    Also* other = nullptr;
    if (FAILED(this->QueryInterface(__uuidof(Also), reinterpret_cast<void**>(&other)))) {
      return DISP_E_MEMBERNOTFOUND;
    }
    ArgumentsByValue arguments(params);
    const HRESULT invoked =
        second->Invoke(other, id, flags, arguments.Params(), result, exception, argumentError);
    other->Release();
    return invoked;
  }

 private:
  static bool HasMember(ITypeInfo* info, DISPID id) {
    BSTR name = nullptr;
    UINT found = 0;
    const bool has = SUCCEEDED(info->GetNames(id, &name, 1, &found)) && found == 1;
    SysFreeString(name);
    return has;
  }
};

// The interface a base of a class stands for: itself, or the one a dispatch implementation names.
template <class Base>
struct InterfaceOf {
  using type = Base;
};
template <class Base>
requires requires {
  typename Base::Implemented;
}
struct InterfaceOf<Base> {
  using type = typename Base::Implemented;
};

// Lets the server find the core object behind one of its own COM objects (a host may hand ours back).
struct ICoreAccess : IUnknown {
  virtual std::shared_ptr<void> CoreObject() noexcept = 0;
  // The class of the COM object, which tells what the core object is.
  virtual const CLSID& CoreClassId() noexcept = 0;
};

}  // namespace qlxw::com

__CRT_UUID_DECL(qlxw::com::ICoreAccess, 0x3c0f6a52, 0x5e1d, 0x4b8a, 0x9f, 0x21, 0x6d, 0x4e, 0x0b, 0x7a, 0x13,
                0xc9)

namespace qlxw::com {

// The core object behind `object` when it is one of ours of class `classId`, else null.
template <class Core>
std::shared_ptr<Core> CoreObjectOf(IUnknown* object, const CLSID& classId) {
  ICoreAccess* access = nullptr;
  if (object == nullptr ||
      FAILED(object->QueryInterface(__uuidof(ICoreAccess), reinterpret_cast<void**>(&access)))) {
    return nullptr;
  }
  std::shared_ptr<Core> core;
  if (IsEqualCLSID(access->CoreClassId(), classId)) {
    core = std::static_pointer_cast<Core>(access->CoreObject());
  }
  access->Release();
  return core;
}

// The class behind `Derived`: the first base is its default interface. `Derived` provides
// `static constexpr std::string_view kClassName` and `static const CLSID& ClassId()`.
template <class Derived, class... Bases>
class ComObject : public Bases..., public ISupportErrorInfo, public IProvideClassInfo {
  template <class First, class...>
  struct FirstOf {
    using type = First;
  };
  using Default = typename FirstOf<Bases...>::type;

 public:
  ComObject() noexcept { ObjectCreated(); }
  virtual ~ComObject() { ObjectDestroyed(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // A new object, handed out through `iid`; it is freed when the caller's reference is released.
  template <class... Args>
  static HRESULT CreateInstance(const GUID& iid, void** out, Args&&... args) {
    Derived* object = new Derived(std::forward<Args>(args)...);
    object->AddRef();
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *out = static_cast<IUnknown*>(static_cast<Default*>(this));
    } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
      *out = static_cast<ISupportErrorInfo*>(this);
    } else if (IsEqualIID(iid, IID_IProvideClassInfo)) {
      *out = static_cast<IProvideClassInfo*>(this);
    } else {
      (void)((IsEqualIID(iid, __uuidof(typename InterfaceOf<Bases>::type)) &&
              (*out = static_cast<Bases*>(this), true)) ||
             ...);
    }
    if (*out == nullptr) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }

  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      delete static_cast<Derived*>(this);
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
    const bool ours = (IsEqualIID(iid, __uuidof(typename InterfaceOf<Bases>::type)) || ...);
    return ours ? S_OK : S_FALSE;
  }

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

 protected:
  // Runs a member of the default interface inside the boundary.
  template <class Body>
  HRESULT Call(Body&& body) {
    return Boundary(Derived::kClassName, __uuidof(typename InterfaceOf<Default>::type),
                    std::forward<Body>(body));
  }

 private:
  std::atomic<ULONG> references_{0};
};

// Holds one reference to a COM object.
template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  explicit ComPtr(T* pointer) noexcept : pointer_(pointer) {
    if (pointer_ != nullptr) {
      pointer_->AddRef();
    }
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.pointer_) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() {
    if (pointer_ != nullptr) {
      pointer_->Release();
    }
  }
  T* get() const noexcept { return pointer_; }
  T* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }
  // For out-parameters: the reference it receives becomes this one's.
  T** put() noexcept {
    *this = ComPtr();
    return &pointer_;
  }
  // Hands the reference to an out-parameter.
  T* detach() noexcept { return std::exchange(pointer_, nullptr); }

 private:
  T* pointer_ = nullptr;
};

}  // namespace qlxw::com
