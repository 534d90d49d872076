#pragma once
// IUnknown for every object of the server, the class factory included: the reference count, the
// module's count of live objects, and QueryInterface answered from the list of implemented interfaces.
#include <windows.h>

#include <unknwn.h>

#include <atomic>
#include <type_traits>

#include "com/runtime/module.h"

namespace qlxw::com {

// The interface a base of a class stands for: itself, or the one an implementation names in
// `Implemented`.
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

// `Derived` implements `Bases` (interfaces, or implementations of them); the first is the default
// interface, which also answers for IUnknown, and for IDispatch when it is a dispatch interface.
template <class Derived, class... Bases>
class UnknownImpl : public Bases... {
  template <class First, class...>
  struct FirstOf {
    using type = First;
  };

 public:
  using Default = typename FirstOf<Bases...>::type;

  UnknownImpl() noexcept { ObjectCreated(); }
  virtual ~UnknownImpl() { ObjectDestroyed(); }
  UnknownImpl(const UnknownImpl&) = delete;
  UnknownImpl& operator=(const UnknownImpl&) = delete;
  UnknownImpl(UnknownImpl&&) = delete;
  UnknownImpl& operator=(UnknownImpl&&) = delete;

  // Hands a new object out through `iid`; the object is freed when that reference is released, or at
  // once when it has no such interface.
  static HRESULT HandOut(Derived* object, const GUID& iid, void** out) {
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
    if (IsEqualIID(iid, IID_IUnknown) ||
        (std::is_base_of_v<IDispatch, Default> && IsEqualIID(iid, IID_IDispatch))) {
      *out = static_cast<IUnknown*>(static_cast<Default*>(this));
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

 private:
  std::atomic<ULONG> references_{0};
};

}  // namespace qlxw::com
