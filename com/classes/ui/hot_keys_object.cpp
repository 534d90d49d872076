// HotKeys as a COM class: an application object over the thread's one hot-key table.
#include <string_view>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "os/windows/wide_text.h"
#include "ui/hot_keys.h"

namespace qlxw::com {
namespace {

class HotKeysObject final : public ComObject<HotKeysObject, DispatchImpl<_HotKeys>> {
 public:
  static constexpr std::string_view kClassName = "HotKeys";
  static const CLSID& ClassId() { return CLSID_HotKeys; }

  HRESULT STDMETHODCALLTYPE get_HotKeyCode(BSTR* functionName, short* result) override {
    return Call(
        [&] { *Required(result) = keys_.HotKeyCode(platform::Utf8FromBstr(*Required(functionName))); });
  }
  HRESULT STDMETHODCALLTYPE ResetHotKeys() override {
    return Call([&] { keys_.ResetHotKeys(); });
  }
  HRESULT STDMETHODCALLTYPE SetHotKeyCode(short* keyCode, BSTR* functionName) override {
    return Call(
        [&] { keys_.SetHotKeyCode(*Required(keyCode), platform::Utf8FromBstr(*Required(functionName))); });
  }
  HRESULT STDMETHODCALLTYPE get_FunctionCount(LONG* result) override {
    return Call([&] { *Required(result) = keys_.FunctionCount(); });
  }
  HRESULT STDMETHODCALLTYPE get_DefaultKeys(IDispatch** result) override {
    return Call([&] {
      *Required(result) = nullptr;
      keys_.DefaultKeys();
    });
  }
  HRESULT STDMETHODCALLTYPE IsFncAssigned(BSTR* functionName, VARIANT_BOOL* result) override {
    return Call([&] {
      *Required(result) = VariantBool(keys_.IsFncAssigned(platform::Utf8FromBstr(*Required(functionName))));
    });
  }
  HRESULT STDMETHODCALLTYPE IsKeyAssigned(short* keyCode, VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(keys_.IsKeyAssigned(*Required(keyCode))); });
  }
  HRESULT STDMETHODCALLTYPE ClearHotKeys() override {
    return Call([&] { keys_.ClearHotKeys(); });
  }
  HRESULT STDMETHODCALLTYPE RemoveFnc(BSTR* functionName) override {
    return Call([&] { keys_.RemoveFnc(platform::Utf8FromBstr(*Required(functionName))); });
  }
  HRESULT STDMETHODCALLTYPE RemoveKey(short* keyCode) override {
    return Call([&] { keys_.RemoveKey(*Required(keyCode)); });
  }
  HRESULT STDMETHODCALLTYPE GetFncName(short* position, BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(keys_.GetFncName(*Required(position))); });
  }
  HRESULT STDMETHODCALLTYPE GetKeyCode(short* position, short* result) override {
    return Call([&] { *Required(result) = keys_.GetKeyCode(*Required(position)); });
  }

 private:
  qlxw::HotKeys keys_;
};

}  // namespace

HRESULT CreateHotKeys(const GUID& iid, void** out) {
  return Boundary(HotKeysObject::kClassName, iid, [&] { Check(HotKeysObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
