// CommonFacade as a COM class: the shared INI managers and the host's anchors in one object.
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/common_facade.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"

namespace qlxw::com {
namespace {

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

}  // namespace

HRESULT CreateCommonFacade(const GUID& iid, void** out) {
  return CommonFacadeObject::CreateInstance(iid, out);
}

}  // namespace qlxw::com
