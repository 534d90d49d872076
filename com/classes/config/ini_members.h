#pragma once
// The INI members the root object serves just as the INI managers do: the INI file's name, a value by
// section and key both ways, and the coordinate settings read from the file (axes swapped, their
// names, the angle mode). Written once for _clsCommon and _INIManager, which both declare them.
#include <windows.h>

#include <oaidl.h>

#include <utility>

#include "QlxWCommon_h.h"
#include "com/runtime/boundary.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {

// The members over `Derived::IniObject()`, the root object or a manager, whose functions of the same
// names do the work. `Dispatch` is the IDispatch of the interface that declares them, the one their
// failures are reported for.
template <class Derived, class Dispatch>
class IniMembers : public Dispatch {
 public:
  HRESULT STDMETHODCALLTYPE put_INIFileName(BSTR* name) override {
    return Call([&] { Ini().INIFileName(platform::Utf8FromBstr(*Required(name))); });
  }
  HRESULT STDMETHODCALLTYPE WriteINIValueByKey(BSTR* section, BSTR* key, BSTR* value) override {
    return Call([&] {
      Ini().WriteINIValueByKey(platform::Utf8FromBstr(*Required(section)),
                               platform::Utf8FromBstrNullable(*Required(key)),
                               platform::Utf8FromBstrNullable(*Required(value)));
    });
  }
  HRESULT STDMETHODCALLTYPE LoadINIValueByKey(BSTR* section, BSTR* key, BSTR* result) override {
    return Call([&] {
      *Required(result) = platform::BstrFromUtf8(Ini().LoadINIValueByKey(
          platform::Utf8FromBstr(*Required(section)), platform::Utf8FromBstr(*Required(key))));
    });
  }
  HRESULT STDMETHODCALLTYPE get_gSwapXY(VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(Ini().gSwapXY()); });
  }
  HRESULT STDMETHODCALLTYPE get_gAngleMode(::ANGLE_MODE* result) override {
    return Call([&] { *Required(result) = static_cast<::ANGLE_MODE>(Ini().gAngleMode()); });
  }
  HRESULT STDMETHODCALLTYPE get_gFirstCoorName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Ini().gFirstCoorName()); });
  }
  HRESULT STDMETHODCALLTYPE get_gSecondCoorName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Ini().gSecondCoorName()); });
  }

 private:
  auto& Ini() { return static_cast<Derived*>(this)->IniObject(); }
  template <class Body>
  HRESULT Call(Body&& body) {
    return Boundary(Derived::kClassName, __uuidof(typename Dispatch::Implemented), std::forward<Body>(body));
  }
};

}  // namespace qlxw::com
