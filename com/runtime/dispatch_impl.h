#pragma once
// IDispatch served from the type library: calls go through the interface's type information, which
// the module loads once and keeps; a name or member asked for before is found in the interface's table
// (DispatchMembers) under one shared lock.
#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include "com/runtime/arguments_by_value.h"
#include "com/runtime/dispatch_members.h"
#include "com/runtime/module.h"

namespace qlxw::com {

// Reading the members and preparing a call allocate: running out of memory there is an answer, never
// an exception crossing the interface.
template <class Call>
HRESULT WithoutExceptions(Call&& call) noexcept {
  try {
    return call();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

// Clients ask for a value as a method, as a property get, or as both (script hosts' enumerators ask for
// the enumerator as a method only): a read is answered whichever way it is asked. Puts stay as asked.
inline WORD AsEitherRead(WORD flags) noexcept {
  constexpr WORD kReads = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  constexpr WORD kPuts = DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;
  return (flags & kPuts) == 0 && (flags & kReads) != 0 ? static_cast<WORD>(flags | kReads) : flags;
}

// IDispatch of one dual interface: calls go through the interface's type information, so late-bound
// callers get the same argument checks, defaults and conversions as the type library states; a name the
// hash does not know is left to the type information too.
template <class Interface>
class DispatchImpl : public Interface {
 public:
  using Implemented = Interface;

  // The interface's members, read on first use.
  static const DispatchMembers& Members() {
    static const DispatchMembers members(TypeInfoOf(__uuidof(Interface)));
    return members;
  }

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
    return WithoutExceptions([&] {
      ITypeInfo* found = Members().Info();
      if (found == nullptr) {
        return TYPE_E_ELEMENTNOTFOUND;
      }
      found->AddRef();
      *info = found;
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*reserved*/, LPOLESTR* names, UINT count, LCID /*locale*/,
                                          DISPID* ids) override {
    return WithoutExceptions([&] { return Members().IdsOfNames(names, count, ids); });
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID reserved, LCID /*locale*/, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    if (!IsEqualIID(reserved, IID_NULL)) {
      return DISP_E_UNKNOWNINTERFACE;
    }
    return WithoutExceptions([&] {
      const DispatchMembers& members = Members();
      ITypeInfo* info = members.Info();
      if (info == nullptr) {
        return E_UNEXPECTED;
      }
      const WORD reading = AsEitherRead(flags);
      ArgumentsByValue arguments(params, &members, id, reading);
      return info->Invoke(static_cast<Interface*>(this), id, reading, arguments.Params(), result, exception,
                          argumentError);
    });
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
    return WithoutExceptions([&] {
      const DispatchMembers& second = DispatchImpl<Also>::Members();
      return SUCCEEDED(own) || second.Info() == nullptr ? own : second.IdsOfNames(names, count, ids);
    });
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID reserved, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
    return WithoutExceptions([&] {
      const DispatchMembers& own = DispatchImpl<Interface>::Members();
      const DispatchMembers& secondMembers = DispatchImpl<Also>::Members();
      ITypeInfo* second = secondMembers.Info();
      if (own.Info() == nullptr || second == nullptr || own.Has(id) || !IsEqualIID(reserved, IID_NULL)) {
        return DispatchImpl<Interface>::Invoke(id, reserved, locale, flags, params, result, exception,
                                               argumentError);
      }
      Also* other = nullptr;
      if (FAILED(this->QueryInterface(__uuidof(Also), reinterpret_cast<void**>(&other)))) {
        return static_cast<HRESULT>(DISP_E_MEMBERNOTFOUND);
      }
      HRESULT invoked = E_OUTOFMEMORY;
      try {
        const WORD reading = AsEitherRead(flags);
        ArgumentsByValue arguments(params, &secondMembers, id, reading);
        invoked = second->Invoke(other, id, reading, arguments.Params(), result, exception, argumentError);
      } catch (...) {  // NOLINT(bugprone-empty-catch): released below, reported as out of memory
      }
      other->Release();
      return invoked;
    });
  }
};

}  // namespace qlxw::com
