// ILibAnchors as a COM class, and anchors hosts hand in.
#include <memory>
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/common_facade.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/core_link.h"
#include "os/windows/dispatch_object.h"

namespace qlxw::com {
namespace {

// A host's anchors, asked through their interface.
class HostLibAnchors final : public HandedInObject<ILibAnchors, _ILibAnchors> {
 public:
  using HandedInObject::HandedInObject;

  void Add(const std::shared_ptr<AutomationObject>& anchor) override { Check(Object()->Add(Raw(anchor))); }
  void Remove(const std::shared_ptr<AutomationObject>& anchor) override {
    Check(Object()->Remove(Raw(anchor)));
  }
  bool Released() override {
    VARIANT_BOOL released = VARIANT_FALSE;
    Check(Object()->get_Released(&released));
    return released != VARIANT_FALSE;
  }

 private:
  static IDispatch* Raw(const std::shared_ptr<AutomationObject>& anchor) {
    const auto held = std::dynamic_pointer_cast<platform::DispatchObject>(anchor);
    return held ? held->Dispatch() : nullptr;
  }
};

class LibAnchorsObject final : public ComObject<LibAnchorsObject, DispatchImpl<_ILibAnchors>,
                                                CoreBacked<LibAnchorsObject, ILibAnchors>> {
 public:
  static constexpr std::string_view kClassName = "ILibAnchors";
  static const CLSID& ClassId() { return CLSID_ILibAnchors; }

  explicit LibAnchorsObject(std::shared_ptr<ILibAnchors> anchors) { StandFor(std::move(anchors)); }

  HRESULT STDMETHODCALLTYPE Add(IDispatch* anchor) override {
    return Call([&] { Backed().Add(platform::HostObject(anchor)); });
  }
  HRESULT STDMETHODCALLTYPE Remove(IDispatch* anchor) override {
    return Call([&] { Backed().Remove(platform::HostObject(anchor)); });
  }
  HRESULT STDMETHODCALLTYPE get_Released(VARIANT_BOOL* result) override {
    return Call([&] { *Required(result) = VariantBool(Backed().Released()); });
  }
};

}  // namespace

HRESULT CreateLibAnchors(const GUID& iid, void** out) {
  return LibAnchorsObject::CreateInstance(iid, out, std::make_shared<ILibAnchors>());
}

std::shared_ptr<ILibAnchors> LibAnchorsFromHost(_ILibAnchors* anchors) {
  return HeldForCore<HostLibAnchors, ILibAnchors>(anchors, CLSID_ILibAnchors);
}

HRESULT ObjectForLibAnchors(const std::shared_ptr<ILibAnchors>& anchors, const GUID& iid, void** out) {
  return HandedBack<LibAnchorsObject, HostLibAnchors>(anchors, iid, out);
}

}  // namespace qlxw::com
