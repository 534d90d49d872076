// Keys as a COM class, enumerable with For Each, and the KeyValue records it hands out (not creatable:
// only Keys makes them).
#include <windows.h>

#include <oaidl.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/core_link.h"
#include "com/runtime/variant_enumerator.h"
#include "folders/keys.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

class KeyValueObject final
    : public ComObject<KeyValueObject, DispatchImpl<_KeyValue>, CoreBacked<KeyValueObject, qlxw::KeyValue>> {
 public:
  static constexpr std::string_view kClassName = "KeyValue";
  static const CLSID& ClassId() { return CLSID_KeyValue; }

  explicit KeyValueObject(std::shared_ptr<qlxw::KeyValue> record) { StandFor(std::move(record)); }

  HRESULT STDMETHODCALLTYPE get_Value(VARIANT* result) override {
    return Call([&] {
      VariantInit(Required(result));
      result->vt = VT_BSTR;
      result->bstrVal = platform::BstrFromUtf8(Backed().Value());
    });
  }
  HRESULT STDMETHODCALLTYPE get_Key(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(Backed().Key()); });
  }
};

class KeysObject final : public ComObject<KeysObject, DispatchImpl<_Keys>> {
 public:
  static constexpr std::string_view kClassName = "Keys";
  static const CLSID& ClassId() { return CLSID_Keys; }

  HRESULT STDMETHODCALLTYPE get_Item(::EnumFoldersPaths index, _KeyValue** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectFor<KeyValueObject>(keys_->Item(index), __uuidof(_KeyValue),
                                      reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* result) override {
    return Call([&] { *Required(result) = keys_->Count(); });
  }
  HRESULT STDMETHODCALLTYPE NewEnum(IUnknown** result) override {
    return Call([&] {
      std::vector<std::shared_ptr<qlxw::KeyValue>> records;
      for (const auto& record : *keys_) {
        records.push_back(record);
      }
      auto snapshot = std::make_shared<VariantEnumerator::Snapshot>();
      snapshot->count = records.size();
      snapshot->itemAt = [records = std::move(records)](std::size_t index, VARIANT* item) {
        const HRESULT made = ObjectFor<KeyValueObject>(records[index], IID_IDispatch,
                                                       reinterpret_cast<void**>(&item->pdispVal));
        if (SUCCEEDED(made)) {
          item->vt = VT_DISPATCH;
        }
        return made;
      };
      Check(VariantEnumerator::Start(std::move(snapshot), Required(result)));
    });
  }

 private:
  std::shared_ptr<qlxw::Keys> keys_ = std::make_shared<qlxw::Keys>();
};

}  // namespace

HRESULT CreateKeys(const GUID& iid, void** out) {
  return Boundary(KeysObject::kClassName, iid, [&] { Check(KeysObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
