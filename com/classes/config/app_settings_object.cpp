// IAppSettings as a COM class (the null settings store), and settings objects hosts hand in.
#include <memory>
#include <string_view>

#include "QlxWCommon_h.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/core_link.h"
#include "com/runtime/safe_arrays.h"
#include "com/runtime/variants.h"
#include "config/app_settings.h"
#include "errors/lib_error.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

// A host's own settings store. The library only keeps it and hands it back; nothing in the library
// reads or writes settings through it.
using HostAppSettings = HandedInObject<IAppSettings, _IAppSettings>;

std::string Text(BSTR* text) {
  return platform::Utf8FromBstr(*Required(text));
}

template <class T, class Com>
T Scalar(const Com* value) {
  if constexpr (std::is_same_v<T, bool>) {
    return value != nullptr && *value != VARIANT_FALSE;
  } else {
    return value == nullptr ? T{} : static_cast<T>(*value);
  }
}

// True unless given and false: an early-bound caller passes no flag as a null pointer.
bool SaveToFile(const VARIANT_BOOL* flag) {
  return flag == nullptr || *flag != VARIANT_FALSE;
}

class AppSettingsObject final : public ComObject<AppSettingsObject, DispatchImpl<_IAppSettings>,
                                                 CoreBacked<AppSettingsObject, IAppSettings>> {
 public:
  static constexpr std::string_view kClassName = "IAppSettings";
  static const CLSID& ClassId() { return CLSID_IAppSettings; }

  explicit AppSettingsObject(std::shared_ptr<IAppSettings> settings) { StandFor(std::move(settings)); }

#define QLXW_SCALAR(Name, ComType, CoreType)                                                               \
  HRESULT STDMETHODCALLTYPE Get##Name(BSTR* category, BSTR* key, ComType* defaultValue, ComType* result)   \
      override {                                                                                           \
    return Call([&] {                                                                                      \
      const auto value = Backed().Get##Name(Text(category), Text(key), Scalar<CoreType>(defaultValue));    \
      *Required(result) = static_cast<ComType>(value);                                                     \
    });                                                                                                    \
  }                                                                                                        \
  HRESULT STDMETHODCALLTYPE Set##Name(BSTR* category, BSTR* key, ComType* value, VARIANT_BOOL* saveToFile) \
      override {                                                                                           \
    return Call([&] {                                                                                      \
      Backed().Set##Name(Text(category), Text(key), Scalar<CoreType>(Required(value)),                     \
                         SaveToFile(saveToFile));                                                          \
    });                                                                                                    \
  }
  QLXW_SCALAR(Byte, unsigned char, std::uint8_t)
  QLXW_SCALAR(Integer, short, std::int16_t)
  QLXW_SCALAR(Long, LONG, std::int32_t)
  QLXW_SCALAR(Double, double, double)
#undef QLXW_SCALAR

  HRESULT STDMETHODCALLTYPE GetBoolean(BSTR* category, BSTR* key, VARIANT_BOOL* defaultValue,
                                       VARIANT_BOOL* result) override {
    return Call([&] {
      const bool value = Backed().GetBoolean(Text(category), Text(key), Scalar<bool>(defaultValue));
      *Required(result) = VariantBool(value);
    });
  }
  HRESULT STDMETHODCALLTYPE SetBoolean(BSTR* category, BSTR* key, VARIANT_BOOL* value,
                                       VARIANT_BOOL* saveToFile) override {
    return Call([&] {
      Backed().SetBoolean(Text(category), Text(key), Scalar<bool>(Required(value)), SaveToFile(saveToFile));
    });
  }
  HRESULT STDMETHODCALLTYPE GetString(BSTR* category, BSTR* key, BSTR* defaultValue, BSTR* result) override {
    return Call([&] {
      const std::string fallback = defaultValue == nullptr ? std::string() : Text(defaultValue);
      *Required(result) = platform::BstrFromUtf8(Backed().GetString(Text(category), Text(key), fallback));
    });
  }
  HRESULT STDMETHODCALLTYPE SetString(BSTR* category, BSTR* key, BSTR* value,
                                      VARIANT_BOOL* saveToFile) override {
    return Call([&] { Backed().SetString(Text(category), Text(key), Text(value), SaveToFile(saveToFile)); });
  }

#define QLXW_ARRAY(Name, CoreType)                                                                          \
  HRESULT STDMETHODCALLTYPE Get##Name##Array(BSTR* category, BSTR* key, SAFEARRAY** defaultValues,          \
                                             SAFEARRAY** result) override {                                 \
    return Call([&] {                                                                                       \
      const auto defaults = FromSafeArray<CoreType>(*Required(defaultValues));                              \
      *Required(result) = ToSafeArray(Backed().Get##Name##Array(Text(category), Text(key), defaults));      \
    });                                                                                                     \
  }                                                                                                         \
  HRESULT STDMETHODCALLTYPE Set##Name##Array(BSTR* category, BSTR* key, SAFEARRAY** value,                  \
                                             VARIANT_BOOL* saveToFile) override {                           \
    return Call([&] {                                                                                       \
      Backed().Set##Name##Array(Text(category), Text(key), FromSafeArray<CoreType>(*Required(value)),       \
                                SaveToFile(saveToFile));                                                    \
    });                                                                                                     \
  }                                                                                                         \
  HRESULT STDMETHODCALLTYPE Check##Name##Array(BSTR* category, BSTR* key, VARIANT_BOOL* result) override {  \
    return Call(                                                                                            \
        [&] { *Required(result) = VariantBool(Backed().Check##Name##Array(Text(category), Text(key))); });  \
  }                                                                                                         \
  HRESULT STDMETHODCALLTYPE Check##Name(BSTR* category, BSTR* key, VARIANT_BOOL* result) override {         \
    return Call([&] { *Required(result) = VariantBool(Backed().Check##Name(Text(category), Text(key))); }); \
  }
  QLXW_ARRAY(Byte, std::uint8_t)
  QLXW_ARRAY(Integer, std::int16_t)
  QLXW_ARRAY(Long, std::int32_t)
  QLXW_ARRAY(Double, double)
  QLXW_ARRAY(String, std::string)
  QLXW_ARRAY(Boolean, bool)
#undef QLXW_ARRAY

 private:
};

}  // namespace

HRESULT CreateAppSettings(const GUID& iid, void** out) {
  return AppSettingsObject::CreateInstance(iid, out, std::make_shared<IAppSettings>());
}

std::shared_ptr<IAppSettings> AppSettingsFromHost(_IAppSettings* settings) {
  return HeldForCore<HostAppSettings, IAppSettings>(settings, CLSID_IAppSettings);
}

HRESULT ObjectForAppSettings(const std::shared_ptr<IAppSettings>& settings, const GUID& iid, void** out) {
  return HandedBack<AppSettingsObject, HostAppSettings>(settings, iid, out);
}

}  // namespace qlxw::com
