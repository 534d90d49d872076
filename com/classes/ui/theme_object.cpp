// ITheme as a COM class: a theme of the host's own choosing over a core theme.
#include <memory>
#include <string_view>

#include "QlxWCommon_h.h"
#include "api/default_theme.h"
#include "com/classes/class_links.h"
#include "com/classes/class_table.h"
#include "com/classes/ui/theme_dispatch.h"
#include "com/runtime/boundary.h"
#include "com/runtime/com_object.h"
#include "com/runtime/core_link.h"
#include "ui/theme.h"

namespace qlxw::com {
namespace {

class IThemeObject final
    : public ComObject<IThemeObject, ThemeDispatch<IThemeObject>, CoreBacked<IThemeObject, qlxw::ITheme>> {
 public:
  static constexpr std::string_view kClassName = "ITheme";
  static const CLSID& ClassId() { return CLSID_ITheme; }

  explicit IThemeObject(std::shared_ptr<qlxw::ITheme> theme) { StandFor(std::move(theme)); }
  qlxw::ITheme& Theme() { return Backed(); }
};

}  // namespace

HRESULT CreateITheme(const GUID& iid, void** out) {
  return Boundary(IThemeObject::kClassName, iid,
                  [&] { Check(IThemeObject::CreateInstance(iid, out, std::make_shared<qlxw::ITheme>())); });
}

HRESULT ObjectForTheme(const std::shared_ptr<qlxw::ITheme>& theme, const GUID& iid, void** out) {
  if (auto defaultTheme = std::dynamic_pointer_cast<qlxw::DefaultTheme>(theme)) {
    return ObjectForDefaultTheme(defaultTheme, iid, out);
  }
  return ObjectFor<IThemeObject>(theme, iid, out);
}

}  // namespace qlxw::com
