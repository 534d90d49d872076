// LocalInfo as a COM class: the host's font, locale and theme settings; it raises its font events
// through a connection point and hands out its theme as the COM object of the core theme.
#include <memory>
#include <string_view>
#include <vector>

#include "QlxWCommon_h.h"
#include "api/shared_local_info.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/connection_point.h"
#include "com/runtime/core_link.h"
#include "os/windows/dispatch_object.h"
#include "os/windows/wide_text.h"
#include "ui/local_info.h"

namespace qlxw::com {
namespace {

// Passes the core object's font events to the connection point, arguments by reference as the
// event interface declares them.
class FontEventRelay final : public LocalInfoEvents {
 public:
  explicit FontEventRelay(const ConnectionPoint& point) noexcept : point_(point) {}

  void ChangeFontName(const std::string& fontName) override {
    platform::Bstr name(fontName);
    std::vector<VARIANT> arguments(1);
    arguments[0].vt = VT_BYREF | VT_BSTR;
    arguments[0].pbstrVal = name.address();
    point_.Fire(1, arguments);
  }
  void ChangeFontSize(float fontSize) override { FireSize(2, fontSize); }
  void ChangeMenuFontSize(float fontSize) override { FireSize(3, fontSize); }

 private:
  void FireSize(DISPID id, float size) const {
    std::vector<VARIANT> arguments(1);
    arguments[0].vt = VT_BYREF | VT_R4;
    arguments[0].pfltVal = &size;
    point_.Fire(id, arguments);
  }

  const ConnectionPoint& point_;
};

class LocalInfoObject final
    : public ComObject<LocalInfoObject, DispatchImpl<_LocalInfo>, EventSource<&DIID___LocalInfo>,
                       CoreBacked<LocalInfoObject, qlxw::LocalInfo>> {
  using Switch = void (qlxw::LocalInfo::*)(bool);
  using Reading = bool (qlxw::LocalInfo::*)() const;

 public:
  static constexpr std::string_view kClassName = "LocalInfo";
  static const CLSID& ClassId() { return CLSID_LocalInfo; }

  explicit LocalInfoObject(std::shared_ptr<qlxw::LocalInfo> info) {
    StandFor(std::move(info));
    cookie_ = Backed().Advise(std::make_shared<FontEventRelay>(Events_()));
  }
  ~LocalInfoObject() override { Backed().Unadvise(cookie_); }
  LocalInfoObject(const LocalInfoObject&) = delete;
  LocalInfoObject& operator=(const LocalInfoObject&) = delete;

  HRESULT STDMETHODCALLTYPE put_FontName(BSTR value) override {
    return Call([&] { Backed().FontName(platform::Utf8FromBstr(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_FontName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Backed().FontName()); });
  }
  HRESULT STDMETHODCALLTYPE put_UnicodeMenu(VARIANT_BOOL value) override {
    return Put(&qlxw::LocalInfo::UnicodeMenu, value);
  }
  HRESULT STDMETHODCALLTYPE get_UnicodeMenu(VARIANT_BOOL* result) override {
    return Get(&qlxw::LocalInfo::UnicodeMenu, result);
  }
  HRESULT STDMETHODCALLTYPE put_FontSize(FLOAT value) override {
    return Call([&] { Backed().FontSize(value); });
  }
  HRESULT STDMETHODCALLTYPE get_FontSize(FLOAT* result) override {
    return Call([&] { *Required(result) = Backed().FontSize(); });
  }
  HRESULT STDMETHODCALLTYPE put_MenuFontSize(FLOAT value) override {
    return Call([&] { Backed().MenuFontSize(value); });
  }
  HRESULT STDMETHODCALLTYPE get_MenuFontSize(FLOAT* result) override {
    return Call([&] { *Required(result) = Backed().MenuFontSize(); });
  }
  HRESULT STDMETHODCALLTYPE putref_ABSABToolTipModData(IDispatch* value) override {
    return Call([&] { Backed().ABSABToolTipModData(platform::HostObject(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_ABSABToolTipModData(IDispatch** result) override {
    return Call([&] {
      *Required(result) = nullptr;
      if (const auto data =
              std::dynamic_pointer_cast<platform::DispatchObject>(Backed().ABSABToolTipModData())) {
        data->Dispatch()->AddRef();
        *result = data->Dispatch();
      }
    });
  }
  HRESULT STDMETHODCALLTYPE put_DefaultFormDC(BSTR value) override {
    return Call([&] { Backed().DefaultFormDC(platform::Utf8FromBstr(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_DefaultFormDC(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Backed().DefaultFormDC()); });
  }
  HRESULT STDMETHODCALLTYPE put_Charset(LONG value) override {
    return Call([&] { Backed().Charset(value); });
  }
  HRESULT STDMETHODCALLTYPE get_Charset(LONG* result) override {
    return Call([&] { *Required(result) = Backed().Charset(); });
  }
  HRESULT STDMETHODCALLTYPE put_IsMenuToolTipHook(VARIANT_BOOL value) override {
    return Put(&qlxw::LocalInfo::IsMenuToolTipHook, value);
  }
  HRESULT STDMETHODCALLTYPE get_IsMenuToolTipHook(VARIANT_BOOL* result) override {
    return Get(&qlxw::LocalInfo::IsMenuToolTipHook, result);
  }
  HRESULT STDMETHODCALLTYPE put_IsMenuCaptionHook(VARIANT_BOOL value) override {
    return Put(&qlxw::LocalInfo::IsMenuCaptionHook, value);
  }
  HRESULT STDMETHODCALLTYPE get_IsMenuCaptionHook(VARIANT_BOOL* result) override {
    return Get(&qlxw::LocalInfo::IsMenuCaptionHook, result);
  }
  HRESULT STDMETHODCALLTYPE put_IsCaptionHook(VARIANT_BOOL value) override {
    return Put(&qlxw::LocalInfo::IsCaptionHook, value);
  }
  HRESULT STDMETHODCALLTYPE get_IsCaptionHook(VARIANT_BOOL* result) override {
    return Get(&qlxw::LocalInfo::IsCaptionHook, result);
  }
  HRESULT STDMETHODCALLTYPE put_IsMessageHook(VARIANT_BOOL value) override {
    return Put(&qlxw::LocalInfo::IsMessageHook, value);
  }
  HRESULT STDMETHODCALLTYPE get_IsMessageHook(VARIANT_BOOL* result) override {
    return Get(&qlxw::LocalInfo::IsMessageHook, result);
  }
  HRESULT STDMETHODCALLTYPE put_IsToolTipHook(VARIANT_BOOL value) override {
    return Put(&qlxw::LocalInfo::IsToolTipHook, value);
  }
  HRESULT STDMETHODCALLTYPE get_IsToolTipHook(VARIANT_BOOL* result) override {
    return Get(&qlxw::LocalInfo::IsToolTipHook, result);
  }
  HRESULT STDMETHODCALLTYPE get_UserLocalization(VARIANT_BOOL* result) override {
    return Get(&qlxw::LocalInfo::UserLocalization, result);
  }
  HRESULT STDMETHODCALLTYPE put_UserLocalization(VARIANT_BOOL value) override {
    return Put(&qlxw::LocalInfo::UserLocalization, value);
  }
  HRESULT STDMETHODCALLTYPE get_Theme(_ITheme** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectForTheme(Backed().Theme(), __uuidof(_ITheme), reinterpret_cast<void**>(result)));
    });
  }

 private:
  HRESULT Put(Switch put, VARIANT_BOOL value) {
    return Call([&] { (Backed().*put)(value != VARIANT_FALSE); });
  }
  HRESULT Get(Reading get, VARIANT_BOOL* result) {
    return Call([&] { *Required(result) = VariantBool((Backed().*get)()); });
  }

  std::uint32_t cookie_ = 0;
};

}  // namespace

HRESULT CreateLocalInfo(const GUID& iid, void** out) {
  return Boundary(LocalInfoObject::kClassName, iid,
                  [&] { Check(LocalInfoObject::CreateInstance(iid, out, MakeLocalInfo())); });
}

HRESULT ObjectForLocalInfo(const std::shared_ptr<qlxw::LocalInfo>& info, const GUID& iid, void** out) {
  return ObjectFor<LocalInfoObject>(info, iid, out);
}

}  // namespace qlxw::com
