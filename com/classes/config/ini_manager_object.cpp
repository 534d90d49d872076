// INIManager as a COM class: _INIManager over a core manager.
#include <memory>
#include <string_view>

#include "QlxWCommon_h.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/classes/config/ini_manager_dispatch.h"
#include "com/runtime/com_object.h"
#include "com/runtime/core_link.h"
#include "config/ini_manager.h"
#include "config/ini_manager5.h"

namespace qlxw::com {
namespace {

class INIManagerObject final : public ComObject<INIManagerObject, IniManagerDispatch<INIManagerObject>,
                                                CoreBacked<INIManagerObject, INIManagerInterface>> {
 public:
  static constexpr std::string_view kClassName = "INIManager";
  static const CLSID& ClassId() { return CLSID_INIManager; }

  explicit INIManagerObject(std::shared_ptr<INIManagerInterface> manager) { StandFor(std::move(manager)); }

  INIManagerInterface& IniObject() { return Backed(); }
};

}  // namespace

HRESULT CreateINIManager(const GUID& iid, void** out) {
  return INIManagerObject::CreateInstance(iid, out, std::make_shared<INIManager>());
}

// A manager of the extended kind is handed out as the INIManager5 object.
HRESULT ObjectForIniManager(const std::shared_ptr<INIManagerInterface>& manager, const GUID& iid,
                            void** out) {
  if (auto extended = std::dynamic_pointer_cast<INIManager5>(manager)) {
    return ObjectForIniManager5(extended, iid, out);
  }
  return ObjectFor<INIManagerObject>(manager, iid, out);
}

}  // namespace qlxw::com
