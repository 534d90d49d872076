#include "config/ini_manager_base.h"

#include "config/ini_file.h"
#include "config/ini_items.h"
#include "config/ini_values.h"
#include "text/case_fold.h"
#include "text/number_text.h"

namespace qlxw {
namespace {

bool IsTrue(const Variant& value) {
  return std::holds_alternative<bool>(value) && std::get<bool>(value);
}

}  // namespace

INIManagerBase::INIManagerBase() : items_(std::make_unique<INIItems>()) {}

INIManagerBase::~INIManagerBase() = default;

std::string VariantToINIText(const Variant& value) {
  if (const auto* flag = std::get_if<bool>(&value)) {
    return BoolToINIText(*flag);
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    return *text;
  }
  if (const auto* number = std::get_if<std::int32_t>(&value)) {
    return std::to_string(*number);
  }
  if (const auto* real = std::get_if<double>(&value)) {
    return NumberToText(*real);
  }
  return {};
}

void INIManagerBase::INIFileName(const std::string& name) {
  ApplyINIFileName(name, ClassName());
}

std::string INIManagerBase::INIFileName() const {
  return GetINIFileName();
}

bool INIManagerBase::gSwapXY() {
  const std::string text = FoldCase(LoadINIValueByKey("xy", "SwapXY"));
  if (text == "true") {
    return true;
  }
  if (text != "false") {
    WriteINIValueByKey("xy", std::string("SwapXY"), std::string("False"));
  }
  return false;
}

bool INIManagerBase::TryKeepLayerVisible() {
  return IsTrue(LoadINIBoolean("Setup", "TryKeepLayerVisible", false));
}

void INIManagerBase::TryKeepLayerVisible(bool value) {
  WriteINIBoolean("Setup", "TryKeepLayerVisible", value);
}

bool INIManagerBase::WarnInvisibleCurrentLayer() {
  return IsTrue(LoadINIBoolean("Setup", "WarnInvisibleCurrentLayer", true));
}

void INIManagerBase::WarnInvisibleCurrentLayer(bool value) {
  WriteINIBoolean("Setup", "WarnInvisibleCurrentLayer", value);
}

void INIManagerBase::EndManager() noexcept {
  ml_RuntimeSupport.reset();
  try {
    SaveDefaultsToINI();
  } catch (...) {  // NOLINT(bugprone-empty-catch): the end of a manager never fails
  }
}

void INIManagerBase::RegisterDefault(const std::string& section, const std::string& key,
                                     const Variant& defaultValue, const INIValueSeen& seen) noexcept {
  try {
    Register(section, key, defaultValue, seen);
  } catch (...) {  // NOLINT(bugprone-empty-catch): see the declaration
  }
}

void INIManagerBase::Register(const std::string& section, const std::string& key, const Variant& defaultValue,
                              const INIValueSeen& seen) {
  if (const std::shared_ptr<INIItem> added = items_->AddIfMissing(section, key, defaultValue)) {
    added->RememberFileValue(seen);
  }
}

void INIManagerBase::SaveDefaultsToINI() {
  // Each write unregisters its key, so every pass takes the (new) first item; the pass count bounds
  // the loop should a write fail to unregister.
  const std::int32_t initial = items_->Count();
  for (std::int32_t pass = 0; pass < initial && items_->Count() > 0; ++pass) {
    const std::shared_ptr<INIItem> item = items_->Item(1);
    const Variant defaultValue = item->Default();
    const auto* flag = std::get_if<bool>(&defaultValue);
    if (item->FileValueKnown()) {
      // Only over what this manager saw: another writer's value stays.
      WriteINIDefaultUnlessChanged(item->Section(), item->Key(),
                                   flag != nullptr ? BoolToINIText(*flag) : VariantToINIText(defaultValue),
                                   item->FileValue());
    } else if (flag != nullptr) {
      WriteINIBoolean(item->Section(), item->Key(), *flag);
    } else {
      WriteINIValueByKey(item->Section(), item->Key(), VariantToINIText(defaultValue));
    }
    items_->Unregister(item->Section(), item->Key());
  }
}

}  // namespace qlxw
