#include "ui/local_info.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "diag/trace.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"

namespace qlxw {
namespace {

constexpr std::int32_t kStringInvalidParameter = 50;

// The shortest text that reads back as the same single-precision number.
std::string SingleToText(float value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : std::string("0");
}

float TextToSingle(const std::string& text) {
  float value = 0.0F;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

std::string DefaultFontName(std::int32_t languageId) {
  switch (languageId) {
    case kLangVietnamese:
      return ".VnTime";
    case kLangSerbianLatin:
      return "YUUSAL";
    default:
      return "Arial";
  }
}

LocalInfo::LocalInfo(ThemeFactory makeTheme)
    : makeTheme_(std::move(makeTheme)),
      language_([this](std::int32_t languageId, const std::string& /*language*/) {
        FontName(DefaultFontName(languageId));
      }) {
  EnsureStringTables();
  fontName_ = DefaultFontName(language_.LanguageID());
}

void LocalInfo::FontName(const std::string& fontName) {
  if (fontName.empty()) {
    RaiseAutomationError(kErrApplicationDefined,
                         GetLocalizedString(kStringInvalidParameter, "Invlaid parameter"));
  }
  fontName_ = fontName;
  Raise([&](LocalInfoEvents& listener) { listener.ChangeFontName(fontName_); });
}

void LocalInfo::FontSize(float size) {
  fontSize_ = size;
  Raise([&](LocalInfoEvents& listener) { listener.ChangeFontSize(fontSize_); });
}

void LocalInfo::MenuFontSize(float size) {
  menuFontSize_ = SingleToText(size);
  Raise([&](LocalInfoEvents& listener) { listener.ChangeMenuFontSize(size); });
}

float LocalInfo::MenuFontSize() const {
  return TextToSingle(menuFontSize_);
}

std::shared_ptr<AutomationObject> LocalInfo::ABSABToolTipModData() const {
  Trace("LocalInfo.ABSABToolTipModData>> ", kTraceTime);
  Trace("mABSABToolTipModData IS NOTHING : ", toolTipModData_ == nullptr);
  Trace("LocalInfo.ABSABToolTipModData<< ", kTraceTime);
  return toolTipModData_;
}

std::shared_ptr<ITheme> LocalInfo::Theme() {
  if (!theme_) {
    theme_ = makeTheme_ ? makeTheme_() : std::make_shared<ITheme>();
  }
  return theme_;
}

std::uint32_t LocalInfo::Advise(std::shared_ptr<LocalInfoEvents> listener) {
  const std::uint32_t cookie = nextCookie_++;
  listeners_.emplace_back(cookie, std::move(listener));
  return cookie;
}

void LocalInfo::Unadvise(std::uint32_t cookie) {
  std::erase_if(listeners_, [&](const auto& entry) { return entry.first == cookie; });
}

template <class Event>
void LocalInfo::Raise(const Event& event) {
  // A listener may unadvise itself or others while it is called: walk a copy.
  const auto listeners = listeners_;
  for (const auto& entry : listeners) {
    event(*entry.second);
  }
}

}  // namespace qlxw
