#pragma once
// LocalInfo: the font and localisation settings a host applies to its windows and menus, and its
// theme. Listeners hear of font changes after the new value is stored.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "language/language_subscription.h"
#include "ui/theme.h"
#include "values/automation.h"

namespace qlxw {

// Receives LocalInfo's events (the automation event interface __LocalInfo).
class LocalInfoEvents {
 public:
  virtual ~LocalInfoEvents() = default;
  virtual void ChangeFontName(const std::string& fontName) = 0;
  virtual void ChangeFontSize(float fontSize) = 0;
  virtual void ChangeMenuFontSize(float fontSize) = 0;
};

// ".VnTime" for Vietnamese, "YUUSAL" for Serbian (Latin), "Arial" for every other language id.
std::string DefaultFontName(std::int32_t languageId);

class LocalInfo {
 public:
  // Makes the theme on the first Theme(); the theme's own rules (the INI file, the main version) are
  // not this class's business.
  using ThemeFactory = std::function<std::shared_ptr<ITheme>()>;

  // The font is the default of the language runtime's language; the font follows later language
  // changes, each raising ChangeFontName.
  explicit LocalInfo(ThemeFactory makeTheme);
  LocalInfo(const LocalInfo&) = delete;
  LocalInfo& operator=(const LocalInfo&) = delete;
  ~LocalInfo() = default;

  // An empty name fails with 1001 (localized string 50) and changes nothing.
  void FontName(const std::string& fontName);
  const std::string& FontName() const noexcept { return fontName_; }
  void UnicodeMenu(bool value) noexcept { unicodeMenu_ = value; }
  bool UnicodeMenu() const noexcept { return unicodeMenu_; }
  void FontSize(float size);
  float FontSize() const noexcept { return fontSize_; }
  // Kept as the number's text and read back from it.
  void MenuFontSize(float size);
  float MenuFontSize() const;
  void ABSABToolTipModData(std::shared_ptr<AutomationObject> data) { toolTipModData_ = std::move(data); }
  std::shared_ptr<AutomationObject> ABSABToolTipModData() const;
  void DefaultFormDC(const std::string& name) { defaultFormDC_ = name; }
  const std::string& DefaultFormDC() const noexcept { return defaultFormDC_; }
  void Charset(std::int32_t charset) noexcept { charset_ = charset; }
  std::int32_t Charset() const noexcept { return charset_; }
  void IsMenuToolTipHook(bool value) noexcept { isMenuToolTipHook_ = value; }
  bool IsMenuToolTipHook() const noexcept { return isMenuToolTipHook_; }
  void IsMenuCaptionHook(bool value) noexcept { isMenuCaptionHook_ = value; }
  bool IsMenuCaptionHook() const noexcept { return isMenuCaptionHook_; }
  void IsCaptionHook(bool value) noexcept { isCaptionHook_ = value; }
  bool IsCaptionHook() const noexcept { return isCaptionHook_; }
  void IsMessageHook(bool value) noexcept { isMessageHook_ = value; }
  bool IsMessageHook() const noexcept { return isMessageHook_; }
  void IsToolTipHook(bool value) noexcept { isToolTipHook_ = value; }
  bool IsToolTipHook() const noexcept { return isToolTipHook_; }
  void UserLocalization(bool value) noexcept { userLocalization_ = value; }
  bool UserLocalization() const noexcept { return userLocalization_; }
  // Made on the first call (which fails when making it fails); the same object afterwards.
  std::shared_ptr<ITheme> Theme();

  // Listeners, as connection points keep them: held until unadvised, called in the order they came.
  std::uint32_t Advise(std::shared_ptr<LocalInfoEvents> listener);
  void Unadvise(std::uint32_t cookie);

 private:
  template <class Event>
  void Raise(const Event& event);

  ThemeFactory makeTheme_;
  std::string fontName_;
  float fontSize_ = 8.0F;
  std::string menuFontSize_ = "10";
  bool unicodeMenu_ = false;
  std::int32_t charset_ = 0;
  std::string defaultFormDC_;
  bool isMenuToolTipHook_ = false;
  bool isMenuCaptionHook_ = false;
  bool isCaptionHook_ = false;
  bool isMessageHook_ = false;
  bool isToolTipHook_ = false;
  bool userLocalization_ = false;
  std::shared_ptr<AutomationObject> toolTipModData_;
  std::shared_ptr<ITheme> theme_;
  std::vector<std::pair<std::uint32_t, std::shared_ptr<LocalInfoEvents>>> listeners_;
  std::uint32_t nextCookie_ = 1;
  LanguageSubscription language_;  // last: it calls back into the fields above
};

}  // namespace qlxw
