// clsDebug as a COM class, and the trace object collection it hands out.
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "QlxWCommon_h.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/core_link.h"
#include "com/runtime/variant_enumerator.h"
#include "com/runtime/variants.h"
#include "diag/cls_debug.h"
#include "errors/lib_error.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

class TraceCollectionObject final : public ComObject<TraceCollectionObject, DispatchImpl<_TraceCollection>,
                                                     CoreBacked<TraceCollectionObject, Collection>> {
 public:
  static constexpr std::string_view kClassName = "Collection";
  // No class of its own (clsDebug hands it out): its interface describes it.
  static const CLSID& ClassId() { return IID__TraceCollection; }

  explicit TraceCollectionObject(std::shared_ptr<Collection> items) { StandFor(std::move(items)); }

  HRESULT STDMETHODCALLTYPE Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) override {
    return Call([&] {
      std::optional<std::string> name;
      if (!IsMissing(key)) {
        const Variant keyValue = FromVariant(*key);
        const auto* text = std::get_if<std::string>(&keyValue);
        if (text == nullptr) {
          RaiseAutomationError(kErrTypeMismatch);
        }
        name = *text;
      }
      Backed().Add(FromVariant(*Required(item)), std::move(name), AnchorOf(before), AnchorOf(after));
    });
  }
  HRESULT STDMETHODCALLTYPE Count(LONG* result) override {
    return Call([&] { *Required(result) = Backed().Count(); });
  }
  HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* result) override {
    return Call([&] {
      Required(result);
      const Variant at = FromVariant(*Required(index));
      if (const auto* key = std::get_if<std::string>(&at)) {
        ToVariant(Backed().Item(*key), result);
      } else {
        ToVariant(Backed().Item(Position(at)), result);
      }
    });
  }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** result) override {
    return Call([&] {
      std::vector<Variant> items;
      for (const Variant& item : Backed()) {
        items.push_back(item);
      }
      auto snapshot = std::make_shared<VariantEnumerator::Snapshot>();
      snapshot->count = items.size();
      snapshot->itemAt = [items = std::move(items)](std::size_t index, VARIANT* item) {
        return Boundary(kClassName, IID__TraceCollection, [&] { ToVariant(items[index], item); });
      };
      Check(VariantEnumerator::Start(std::move(snapshot), Required(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) override {
    return Call([&] {
      const Variant at = FromVariant(*Required(index));
      if (const auto* key = std::get_if<std::string>(&at)) {
        Backed().Remove(*key);
      } else {
        Backed().Remove(Position(at));
      }
    });
  }

 private:
  static std::optional<Collection::Anchor> AnchorOf(const VARIANT* place) {
    if (IsMissing(place)) {
      return std::nullopt;
    }
    const Variant at = FromVariant(*place);
    if (const auto* key = std::get_if<std::string>(&at)) {
      return *key;
    }
    return Position(at);
  }

  static std::int32_t Position(const Variant& index) {
    if (const auto* number = std::get_if<std::int32_t>(&index)) {
      return *number;
    }
    if (const auto* real = std::get_if<double>(&index)) {
      return static_cast<std::int32_t>(*real);
    }
    RaiseAutomationError(kErrTypeMismatch);
  }
};

class ClsDebugObject final : public ComObject<ClsDebugObject, DispatchImpl<_clsDebug>> {
 public:
  static constexpr std::string_view kClassName = "clsDebug";
  static const CLSID& ClassId() { return CLSID_clsDebug; }

  HRESULT STDMETHODCALLTYPE get_colTraceObj(IDispatch** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectFor<TraceCollectionObject>(debug_.colTraceObj(), IID_IDispatch,
                                             reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_sComponentName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(debug_.sComponentName()); });
  }
  HRESULT STDMETHODCALLTYPE put_bDebug(VARIANT_BOOL* value) override {
    return Call([&] { debug_.bDebug(*Required(value) != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE put_sLogFileName(BSTR* value) override {
    return Call([&] { debug_.sLogFileName(platform::Utf8FromBstr(*Required(value))); });
  }
  HRESULT STDMETHODCALLTYPE put_bCallLog(VARIANT_BOOL* value) override {
    return Call([&] { debug_.bCallLog(*Required(value) != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE get_sLogFileName(BSTR* result) override {
    return Call([&] { *Required(result) = platform::BstrFromUtf8(debug_.sLogFileName()); });
  }
  HRESULT STDMETHODCALLTYPE get_bCallLog(VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(debug_.bCallLog()); });
  }

 private:
  qlxw::clsDebug debug_;
};

}  // namespace

HRESULT CreateClsDebug(const GUID& iid, void** out) {
  return Boundary(ClsDebugObject::kClassName, iid, [&] { Check(ClsDebugObject::CreateInstance(iid, out)); });
}

}  // namespace qlxw::com
