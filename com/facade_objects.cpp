// CommonFacade, ILibAnchors and clsCommonTypes as COM classes, and anchors hosts hand in.
#include <memory>
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/common_facade.h"
#include "api/common_types.h"
#include "com/boundary.h"
#include "com/classes.h"
#include "com/com_object.h"
#include "com/core_backed.h"
#include "com/host_objects.h"
#include "com/object_registry.h"
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

class CommonFacadeObject final : public ComObject<CommonFacadeObject, DispatchImpl<_CommonFacade>> {
 public:
  static constexpr std::string_view kClassName = "CommonFacade";
  static const CLSID& ClassId() { return CLSID_CommonFacade; }

  HRESULT STDMETHODCALLTYPE get_INI(_INIManager** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectForIniManager(facade_.INI(), __uuidof(_INIManager), reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_INI5(_INIManager5** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectForIniManager5(facade_.INI5(), __uuidof(_INIManager5), reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE get_LibAnchors(_ILibAnchors** result) override {
    return Call([&] {
      Required(result);
      Check(ObjectForLibAnchors(facade_.LibAnchors(), __uuidof(_ILibAnchors),
                                reinterpret_cast<void**>(result)));
    });
  }
  HRESULT STDMETHODCALLTYPE putref_LibAnchors(_ILibAnchors* anchors) override {
    return Call([&] { facade_.LibAnchors(LibAnchorsFromHost(anchors)); });
  }

 private:
  CommonFacade facade_;
};

class ClsCommonTypesObject final : public ComObject<ClsCommonTypesObject, DispatchImpl<_clsCommonTypes>> {
 public:
  static constexpr std::string_view kClassName = "clsCommonTypes";
  static const CLSID& ClassId() { return CLSID_clsCommonTypes; }

 private:
  qlxw::clsCommonTypes types_;
};

}  // namespace

HRESULT CreateCommonFacade(const GUID& iid, void** out) {
  return CommonFacadeObject::CreateInstance(iid, out);
}

HRESULT CreateLibAnchors(const GUID& iid, void** out) {
  return LibAnchorsObject::CreateInstance(iid, out, std::make_shared<ILibAnchors>());
}

HRESULT CreateClsCommonTypes(const GUID& iid, void** out) {
  return Boundary(ClsCommonTypesObject::kClassName, iid,
                  [&] { Check(ClsCommonTypesObject::CreateInstance(iid, out)); });
}

std::shared_ptr<ILibAnchors> LibAnchorsFromHost(_ILibAnchors* anchors) {
  return HeldForCore<HostLibAnchors, ILibAnchors>(anchors, CLSID_ILibAnchors);
}

HRESULT ObjectForLibAnchors(const std::shared_ptr<ILibAnchors>& anchors, const GUID& iid, void** out) {
  return HandedBack<LibAnchorsObject, HostLibAnchors>(anchors, iid, out);
}

}  // namespace qlxw::com
