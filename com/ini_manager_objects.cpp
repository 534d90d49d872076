// INIManager and INIManager5 as COM classes. Both serve _INIManager from one implementation over the
// core manager; INIManager5 adds _INIManager5 and the OnWriteValue event.
#include <memory>
#include <string_view>

#include "QlxWCommon_h.h"
#include "com/boundary.h"
#include "com/classes.h"
#include "com/com_object.h"
#include "com/connection_point.h"
#include "com/core_backed.h"
#include "com/object_registry.h"
#include "com/variants.h"
#include "config/ini_manager.h"
#include "config/ini_manager5.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

// _INIManager over `Derived::Manager()`.
template <class Derived>
class IniManagerDispatch : public DispatchImpl<_INIManager> {
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
  HRESULT STDMETHODCALLTYPE put_INIFileName(BSTR* name) override {
    return Call([&] { Manager().INIFileName(platform::Utf8FromBstr(*Required(name))); });
  }
  HRESULT STDMETHODCALLTYPE WriteINIValueByKey(BSTR* section, BSTR* key, BSTR* value) override {
    return Call([&] {
      Manager().WriteINIValueByKey(platform::Utf8FromBstr(*Required(section)),
                                   platform::Utf8FromBstrNullable(*Required(key)),
                                   platform::Utf8FromBstrNullable(*Required(value)));
    });
  }
  HRESULT STDMETHODCALLTYPE LoadINIValueByKey(BSTR* section, BSTR* key, BSTR* result) override {
    return Call([&] {
      *Required(result) = platform::BstrFromUtf8(Manager().LoadINIValueByKey(
          platform::Utf8FromBstr(*Required(section)), platform::Utf8FromBstr(*Required(key))));
    });
  }
  HRESULT STDMETHODCALLTYPE get_gSwapXY(VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(Manager().gSwapXY()); });
  }
  HRESULT STDMETHODCALLTYPE get_gAngleMode(::ANGLE_MODE* result) override {
    return Call([&] { *Required(result) = static_cast<::ANGLE_MODE>(Manager().gAngleMode()); });
  }
  HRESULT STDMETHODCALLTYPE get_gFirstCoorName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Manager().gFirstCoorName()); });
  }
  HRESULT STDMETHODCALLTYPE get_gSecondCoorName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Manager().gSecondCoorName()); });
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
  INIManagerInterface& Manager() { return static_cast<Derived*>(this)->Manager(); }
  template <class Body>
  HRESULT Call(Body&& body) {
    return Boundary(Derived::kClassName, __uuidof(_INIManager), std::forward<Body>(body));
  }
};

class INIManagerObject final : public ComObject<INIManagerObject, IniManagerDispatch<INIManagerObject>,
                                                CoreBacked<INIManagerObject, INIManagerInterface>> {
 public:
  static constexpr std::string_view kClassName = "INIManager";
  static const CLSID& ClassId() { return CLSID_INIManager; }

  explicit INIManagerObject(std::shared_ptr<INIManagerInterface> manager) { StandFor(std::move(manager)); }

  INIManagerInterface& Manager() { return Backed(); }
};

// Passes the core manager's events to the connection point.
class EventRelay final : public INIManager5Events {
 public:
  explicit EventRelay(const ConnectionPoint& point) noexcept : point_(point) {}
  void OnWriteValue(const std::string& section, const std::string& key, const Variant& value) override {
    platform::Bstr sectionText(section);
    platform::Bstr keyText(key);
    VARIANT valueCopy;
    ToVariant(value, &valueCopy);
    std::vector<VARIANT> arguments(3);
    arguments[0].vt = VT_BYREF | VT_BSTR;
    arguments[0].pbstrVal = sectionText.address();
    arguments[1].vt = VT_BYREF | VT_BSTR;
    arguments[1].pbstrVal = keyText.address();
    arguments[2].vt = VT_BYREF | VT_VARIANT;
    arguments[2].pvarVal = &valueCopy;
    point_.Fire(1, arguments);
    VariantClear(&valueCopy);
  }

 private:
  const ConnectionPoint& point_;
};

class INIManager5Object final
    : public ComObject<INIManager5Object, DispatchWithSecond<_INIManager5, _INIManager>,
                       IniManagerDispatch<INIManager5Object>, EventSource<&DIID___INIManager5>,
                       CoreBacked<INIManager5Object, INIManager5>> {
 public:
  static constexpr std::string_view kClassName = "INIManager5";
  static const CLSID& ClassId() { return CLSID_INIManager5; }

  explicit INIManager5Object(std::shared_ptr<INIManager5> manager) {
    StandFor(std::move(manager));
    cookie_ = Backed().Advise(std::make_shared<EventRelay>(Events_()));
  }
  ~INIManager5Object() override { Backed().Unadvise(cookie_); }
  INIManager5Object(const INIManager5Object&) = delete;
  INIManager5Object& operator=(const INIManager5Object&) = delete;

  HRESULT STDMETHODCALLTYPE get_AsIniManager(_INIManager** result) override {
    return Boundary(kClassName, __uuidof(_INIManager5), [&] {
      Required(result);
      QueryInterface(__uuidof(_INIManager), reinterpret_cast<void**>(result));
    });
  }

  INIManagerInterface& Manager() { return Backed(); }

 private:
  std::uint32_t cookie_ = 0;
};

}  // namespace

HRESULT CreateINIManager(const GUID& iid, void** out) {
  return INIManagerObject::CreateInstance(iid, out, std::make_shared<INIManager>());
}

HRESULT CreateINIManager5(const GUID& iid, void** out) {
  return INIManager5Object::CreateInstance(iid, out, std::make_shared<INIManager5>());
}

HRESULT ObjectForIniManager5(const std::shared_ptr<INIManager5>& manager, const GUID& iid, void** out) {
  return ObjectFor<INIManager5Object>(manager, iid, out);
}

HRESULT ObjectForIniManager(const std::shared_ptr<INIManagerInterface>& manager, const GUID& iid,
                            void** out) {
  if (auto extended = std::dynamic_pointer_cast<INIManager5>(manager)) {
    return ObjectFor<INIManager5Object>(extended, iid, out);
  }
  return ObjectFor<INIManagerObject>(manager, iid, out);
}

}  // namespace qlxw::com
