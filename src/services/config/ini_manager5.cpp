#include "config/ini_manager5.h"

#include <algorithm>

#include "config/ini_file.h"
#include "config/ini_items.h"
#include "config/ini_values.h"
#include "text/case_fold.h"

namespace qlxw {
namespace {

bool IsEmptyText(const Variant& value) {
  const auto* text = std::get_if<std::string>(&value);
  return IsEmpty(value) || (text != nullptr && text->empty());
}

}  // namespace

INIManager5::~INIManager5() {
  // The defaults written back raise no events.
  ++writeGateHolds_;
  EndManager();
}

std::uint32_t INIManager5::Advise(std::shared_ptr<INIManager5Events> listener) {
  listeners_.emplace_back(nextCookie_, std::move(listener));
  return nextCookie_++;
}

void INIManager5::Unadvise(std::uint32_t cookie) {
  std::erase_if(listeners_, [&](const auto& entry) { return entry.first == cookie; });
}

Variant INIManager5::LoadValue(const std::string& section, const std::string& key,
                               const Variant& defaultValue) {
  INIValueSeen seen;
  const std::string raw = LoadINIValueByKey2(section, key, ClassName(), &seen);
  if (!raw.empty()) {
    if (const auto* flag = std::get_if<bool>(&defaultValue)) {
      bool parsed = *flag;
      return ParseINIBoolean(raw, parsed) ? Variant(parsed) : defaultValue;
    }
    return CutComment(raw);
  }
  if (!IsEmptyText(defaultValue)) {
    RegisterDefault(section, key, defaultValue, seen);
  }
  return defaultValue;
}

void INIManager5::WriteValue(const std::string& section, const NullableText& key, const Variant& value,
                             bool deleteKey) {
  const std::string text = VariantToINIText(value);
  WriteINIProfileValue(section, ViewOf(key),
                       deleteKey ? std::nullopt : std::optional<std::string_view>(text));
  RaiseWriteValue(section, key.value_or(""), value);
}

void INIManager5::RaiseWriteValue(const std::string& section, const std::string& key, const Variant& value) {
  if (!CanRaiseWriteEvents()) {
    return;
  }
  // A listener may advise or unadvise while it is told; tell those that were there when it started.
  const auto listeners = listeners_;
  for (const auto& [cookie, listener] : listeners) {
    listener->OnWriteValue(section, key, value);
  }
}

void INIManager5::WriteINIBoolean(const std::string& section, const std::string& key, bool value) {
  WriteValue(section, key, value);
  items_->Unregister(section, key);
}

Variant INIManager5::LoadINIBoolean(const std::string& section, const std::string& key, bool defaultValue) {
  try {
    return LoadValue(section, key, defaultValue);
  } catch (...) {
    return {};
  }
}

void INIManager5::WriteINIValueByKey(const std::string& section, const NullableText& key,
                                     const NullableText& value) {
  // A null text deletes the key; listeners still get the text as given, as they do for any write.
  WriteValue(section, key, Variant(value.value_or(std::string())), !value.has_value());
  items_->Unregister(section, key.value_or(""));
}

std::string INIManager5::LoadINIValueByKey(const std::string& section, const std::string& key) {
  return VariantToINIText(LoadValue(section, key, std::string()));
}

std::string INIManager5::LoadINIString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
  INIValueSeen seen;
  std::string text = CutComment(LoadINIValueByKey2(section, key, ClassName(), &seen));
  if (text.empty()) {
    if (!defaultValue.empty()) {
      RegisterDefault(section, key, defaultValue, seen);
    }
    text = defaultValue;
  }
  return text;
}

ANGLE_MODE INIManager5::gAngleMode() {
  const std::string text = FoldCase(VariantToINIText(LoadValue("AngleMode", "Mode", std::string("360"))));
  return text == "400" ? ANGLE_MODE_400 : ANGLE_MODE_360;
}

std::string INIManager5::gFirstCoorName() {
  return VariantToINIText(LoadValue("xy", "FirstCoordName", std::string("Y")));
}

std::string INIManager5::gSecondCoorName() {
  return VariantToINIText(LoadValue("xy", "SecondCoordName", std::string("X")));
}

}  // namespace qlxw
