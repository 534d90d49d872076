#include "config/ini_manager.h"

#include "config/ini_file.h"
#include "config/ini_items.h"
#include "config/ini_values.h"
#include "diag/trace.h"
#include "text/case_fold.h"

namespace qlxw {
void INIManager::WriteINIBoolean(const std::string& section, const std::string& key, bool value) {
  WriteINIProfileValue(section, key, BoolToINIText(value));
  items_->Unregister(section, key);
}

Variant INIManager::LoadINIBoolean(const std::string& section, const std::string& key, bool defaultValue) {
  Variant result;
  try {
    INIValueSeen seen;
    const std::string text = LoadTracedValue(section, key, &seen);
    bool value = defaultValue;
    if (!IsNullValue(text)) {
      const std::string_view trimmed = TrimSpaces(text);
      if (EqualsNoCase(trimmed, "igaz")) {
        value = true;
      } else if (EqualsNoCase(trimmed, "hamis")) {
        value = false;
      } else {
        value = TextToBooleanOr(trimmed, false);
      }
    }
    result = value;
    if (value == defaultValue) {
      try {
        Register(section, key, defaultValue, seen);
      } catch (...) {
        result = false;  // as the original: a failed registration reads as False
      }
    }
  } catch (...) {  // NOLINT(bugprone-empty-catch): the result computed so far is returned
  }
  return result;
}

void INIManager::WriteINIValueByKey(const std::string& section, const NullableText& key,
                                    const NullableText& value) {
  WriteINIProfileValue(section, ViewOf(key), ViewOf(value));
  items_->Unregister(section, key.value_or(""));
}

std::string INIManager::LoadINIValueByKey(const std::string& section, const std::string& key) {
  return LoadTracedValue(section, key, nullptr);
}

std::string INIManager::LoadTracedValue(const std::string& section, const std::string& key,
                                        INIValueSeen* seen) {
  Trace("clsCommon.LoadINIValueByKey >> ", kTraceTime);
  Trace("clsCommon.LoadINIValueByKey 1 ", section, " ", key);
  Trace("clsCommon.LoadINIValueByKey 2 ", kTraceTime);
  const std::string value = LoadINIValueFixedBuffer(section, key, "NULL", seen);
  Trace("clsCommon.LoadINIValueByKey 3 ", kTraceTime);
  Trace(" << clsCommon.LoadINIValueByKey returned : ", value);
  return std::string(TrimSpaces(value));
}

std::string INIManager::LoadINIString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) {
  INIValueSeen seen;
  std::string value = LoadINIValueFixedBuffer(section, key, defaultValue, &seen);
  if (EqualsNoCase(value, defaultValue)) {
    RegisterDefault(section, key, defaultValue, seen);
  }
  return value;
}

ANGLE_MODE INIManager::gAngleMode() {
  const std::string text = FoldCase(LoadINIValueByKey("AngleMode", "Mode"));
  if (text == "400") {
    return ANGLE_MODE_400;
  }
  if (text != "360") {
    WriteINIValueByKey("AngleMode", std::string("Mode"), std::string("360"));
  }
  return ANGLE_MODE_360;
}

std::string INIManager::CoordinateName(const std::string& key, const std::string& defaultName) {
  const std::string raw = LoadINIValueByKey("xy", key);
  std::string value = IsNullValue(raw) ? defaultName : raw;
  if (!EqualsNoCase(value, raw)) {
    WriteINIValueByKey("xy", key, value);
  }
  return value;
}

std::string INIManager::gFirstCoorName() {
  return CoordinateName("FirstCoordName", "Y");
}

std::string INIManager::gSecondCoorName() {
  return CoordinateName("SecondCoordName", "X");
}

}  // namespace qlxw
