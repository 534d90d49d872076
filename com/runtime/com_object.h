#pragma once
// The header a class of the server includes. One template gives every class its IUnknown, IDispatch
// (served from the type library), ISupportErrorInfo and IProvideClassInfo; a class writes only its
// own members.
#include <windows.h>

#include <string_view>
#include <utility>

#include "com/runtime/boundary.h"
#include "com/runtime/class_description.h"
#include "com/runtime/com_ptr.h"
#include "com/runtime/dispatch_impl.h"
#include "com/runtime/unknown_impl.h"

namespace qlxw::com {

// The class behind `Derived`: the first base is its default interface. `Derived` provides
// `static constexpr std::string_view kClassName` and `static const CLSID& ClassId()`.
template <class Derived, class... Bases>
class ComObject
    : public UnknownImpl<Derived, Bases..., ErrorInfoSupport<typename InterfaceOf<Bases>::type...>,
                         ClassInfoProvider<Derived>> {
  using Unknown = UnknownImpl<Derived, Bases..., ErrorInfoSupport<typename InterfaceOf<Bases>::type...>,
                              ClassInfoProvider<Derived>>;

 public:
  // A new object, handed out through `iid`; it is freed when the caller's reference is released.
  template <class... Args>
  static HRESULT CreateInstance(const GUID& iid, void** out, Args&&... args) {
    return Unknown::HandOut(new Derived(std::forward<Args>(args)...), iid, out);
  }

 protected:
  // Runs a member of the default interface inside the boundary.
  template <class Body>
  HRESULT Call(Body&& body) {
    return Boundary(Derived::kClassName, __uuidof(typename InterfaceOf<typename Unknown::Default>::type),
                    std::forward<Body>(body));
  }
};

}  // namespace qlxw::com
