#include "api/default_theme.h"

#include <string>

#include "api/cls_common.h"
#include "config/ini_file.h"
#include "config/ini_values.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/notices.h"
#include "text/number_text.h"

namespace qlxw {
namespace {

constexpr std::int32_t kThemeMainVersion = 4;
constexpr std::int32_t kStringParameterFileError = 63;
constexpr std::int32_t kStyleWhenUnreadable = 3;
constexpr const char* kThemeSection = "mod";
constexpr const char* kStyleKey = "Style";
constexpr const char* kTransparentBandsKey = "TransparentBands";

}  // namespace

DefaultTheme::DefaultTheme() : ITheme(FollowingLaterChanges{}), mainVersion_(GetMainVer()) {
  if (!HasThemeSettings()) {
    return;
  }
  try {
    const auto root = GetRootObject();
    std::int32_t style = kStyleWhenUnreadable;
    TryTextToLong(root->LoadINIValueByKey(kThemeSection, kStyleKey), style);
    menuStyleId_ = style;
    transparentBands_ = TextToBooleanOr(root->LoadINIValueByKey(kThemeSection, kTransparentBandsKey), false);
  } catch (const LibError& error) {
    // The host goes on with the defaults; the user learns why its theme is missing.
    platform::ShowNotice(GetLocalizedString(kStringParameterFileError, "Paraméterfájl elérési hiba!") +
                             "\r\n" + std::to_string(error.Number()) + " " + error.Description(),
                         kComponentName, platform::NoticeIcon::kCriticalStop);
  }
}

void DefaultTheme::MenuStyleId(std::int32_t styleId) {
  if (!HasThemeSettings()) {
    menuStyleId_ = 0;
    return;
  }
  menuStyleId_ = styleId;
  GetRootObject()->WriteINIValueByKey(kThemeSection, std::string(kStyleKey), std::to_string(styleId));
}

void DefaultTheme::TransparentBands(bool transparent) {
  if (!HasThemeSettings()) {
    transparentBands_ = false;
    return;
  }
  transparentBands_ = transparent;
  GetRootObject()->WriteINIValueByKey(kThemeSection, std::string(kTransparentBandsKey),
                                      std::string(transparent ? "True" : "False"));
}

bool DefaultTheme::HasThemeSettings() const noexcept {
  return mainVersion_ >= kThemeMainVersion;
}

}  // namespace qlxw
