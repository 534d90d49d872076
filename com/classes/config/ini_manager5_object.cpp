// INIManager5 as a COM class: _INIManager as INIManager serves it, plus _INIManager5 and the
// OnWriteValue event.
#include <memory>
#include <string_view>
#include <vector>

#include "QlxWCommon_h.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/classes/config/ini_manager_dispatch.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/connection_point.h"
#include "com/runtime/core_link.h"
#include "com/runtime/variants.h"
#include "config/ini_manager5.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

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

  INIManagerInterface& IniObject() { return Backed(); }

 private:
  std::uint32_t cookie_ = 0;
};

}  // namespace

HRESULT CreateINIManager5(const GUID& iid, void** out) {
  return INIManager5Object::CreateInstance(iid, out, std::make_shared<INIManager5>());
}

HRESULT ObjectForIniManager5(const std::shared_ptr<INIManager5>& manager, const GUID& iid, void** out) {
  return ObjectFor<INIManager5Object>(manager, iid, out);
}

}  // namespace qlxw::com
