#pragma once
// What both INI managers offer (the automation interface _INIManager), in its slot order.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/variant.h"

namespace qlxw {

enum ANGLE_MODE : std::int32_t {
  ANGLE_MODE_360 = 0,  // degrees
  ANGLE_MODE_400 = 1,  // gons
};

// A text that may also be null: a null value deletes a key, a null key a section.
using NullableText = std::optional<std::string>;

inline std::optional<std::string_view> ViewOf(const NullableText& text) {
  return text ? std::optional<std::string_view>(*text) : std::nullopt;
}

class INIManagerInterface {
 public:
  virtual ~INIManagerInterface() = default;

  virtual void WriteINIBoolean(const std::string& section, const std::string& key, bool value) = 0;
  // A Boolean, or empty when the read itself failed.
  virtual Variant LoadINIBoolean(const std::string& section, const std::string& key,
                                 bool defaultValue = false) = 0;
  virtual void INIFileName(const std::string& name) = 0;
  virtual void WriteINIValueByKey(const std::string& section, const NullableText& key,
                                  const NullableText& value) = 0;
  virtual std::string LoadINIValueByKey(const std::string& section, const std::string& key) = 0;
  virtual bool gSwapXY() = 0;
  virtual ANGLE_MODE gAngleMode() = 0;
  virtual std::string gFirstCoorName() = 0;
  virtual std::string gSecondCoorName() = 0;
  virtual std::string LoadINIString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue = {}) = 0;
  virtual std::string INIFileName() const = 0;
  virtual bool TryKeepLayerVisible() = 0;
  virtual void TryKeepLayerVisible(bool value) = 0;
  virtual bool WarnInvisibleCurrentLayer() = 0;
  virtual void WarnInvisibleCurrentLayer(bool value) = 0;
};

// A Variant as the text a manager writes: Booleans as "true"/"false", numbers in decimal, empty as "".
std::string VariantToINIText(const Variant& value);

}  // namespace qlxw
