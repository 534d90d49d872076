// DefaultTheme as a COM class: the library's default theme, _ITheme as ITheme serves it plus
// _DefaultTheme.
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

class DefaultThemeObject final
    : public ComObject<DefaultThemeObject, DispatchWithSecond<_DefaultTheme, _ITheme>,
                       ThemeDispatch<DefaultThemeObject>, CoreBacked<DefaultThemeObject, qlxw::ITheme>> {
 public:
  static constexpr std::string_view kClassName = "DefaultTheme";
  static const CLSID& ClassId() { return CLSID_DefaultTheme; }

  explicit DefaultThemeObject(std::shared_ptr<qlxw::ITheme> theme) { StandFor(std::move(theme)); }
  qlxw::ITheme& Theme() { return Backed(); }
};

}  // namespace

HRESULT CreateDefaultTheme(const GUID& iid, void** out) {
  return Boundary(DefaultThemeObject::kClassName, iid, [&] {
    Check(DefaultThemeObject::CreateInstance(iid, out, std::make_shared<qlxw::DefaultTheme>()));
  });
}

HRESULT ObjectForDefaultTheme(const std::shared_ptr<qlxw::DefaultTheme>& theme, const GUID& iid, void** out) {
  return ObjectFor<DefaultThemeObject>(theme, iid, out);
}

}  // namespace qlxw::com
