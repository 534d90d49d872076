#pragma once
// _INIManager, served alike by INIManager and INIManager5 over their core manager.
#include <windows.h>

#include <oaidl.h>

#include <utility>

#include "QlxWCommon_h.h"
#include "com/classes/config/ini_members.h"
#include "com/runtime/boundary.h"
#include "com/runtime/dispatch_impl.h"
#include "com/runtime/variants.h"
#include "config/ini_manager_interface.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {

// _INIManager over `Derived::IniObject()`.
template <class Derived>
class IniManagerDispatch : public IniMembers<Derived, DispatchImpl<_INIManager>> {
 public:
  HRESULT STDMETHODCALLTYPE WriteINIBoolean(BSTR section, BSTR key, VARIANT_BOOL value) override {
    return Call([&] {
      Manager().WriteINIBoolean(platform::Utf8FromBstr(section), platform::Utf8FromBstr(key),
                                value != VARIANT_FALSE);
    });
  }
  HRESULT STDMETHODCALLTYPE LoadINIBoolean(BSTR section, BSTR key, VARIANT_BOOL defaultValue,
                                           VARIANT* result) override {
    return Call([&] {
      ToVariant(Manager().LoadINIBoolean(platform::Utf8FromBstr(section), platform::Utf8FromBstr(key),
                                         defaultValue != VARIANT_FALSE),
                Required(result));
    });
  }
  HRESULT STDMETHODCALLTYPE LoadINIString(BSTR section, BSTR key, BSTR defaultValue, BSTR* result) override {
    return Call([&] {
      *Required(result) = platform::BstrFromUtf8(
          Manager().LoadINIString(platform::Utf8FromBstr(section), platform::Utf8FromBstr(key),
                                  platform::Utf8FromBstr(defaultValue)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_INIFileName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Manager().INIFileName()); });
  }
  HRESULT STDMETHODCALLTYPE get_TryKeepLayerVisible(VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(Manager().TryKeepLayerVisible()); });
  }
  HRESULT STDMETHODCALLTYPE put_TryKeepLayerVisible(VARIANT_BOOL value) override {
    return Call([&] { Manager().TryKeepLayerVisible(value != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE get_WarnInvisibleCurrentLayer(VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(Manager().WarnInvisibleCurrentLayer()); });
  }
  HRESULT STDMETHODCALLTYPE put_WarnInvisibleCurrentLayer(VARIANT_BOOL value) override {
    return Call([&] { Manager().WarnInvisibleCurrentLayer(value != VARIANT_FALSE); });
  }

 private:
  INIManagerInterface& Manager() { return static_cast<Derived*>(this)->IniObject(); }
  template <class Body>
  HRESULT Call(Body&& body) {
    return Boundary(Derived::kClassName, __uuidof(_INIManager), std::forward<Body>(body));
  }
};

}  // namespace qlxw::com
