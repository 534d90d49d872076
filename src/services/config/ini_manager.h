#pragma once
// INIManager: typed reads and writes of the INI file with defaults, for hosts of main version 4 and
// below. Every key read at its default is written back with that default when the manager ends.
#include <memory>
#include <optional>
#include <string>

#include "config/ini_manager_base.h"

namespace qlxw {

class INIManager final : public INIManagerBase {
 public:
  INIManager() = default;
  ~INIManager() override { EndManager(); }
  INIManager(const INIManager&) = delete;
  INIManager& operator=(const INIManager&) = delete;

  void WriteINIBoolean(const std::string& section, const std::string& key, bool value) override;
  Variant LoadINIBoolean(const std::string& section, const std::string& key,
                         bool defaultValue = false) override;
  void WriteINIValueByKey(const std::string& section, const NullableText& key,
                          const NullableText& value) override;
  // "NULL" for an absent key.
  std::string LoadINIValueByKey(const std::string& section, const std::string& key) override;
  ANGLE_MODE gAngleMode() override;
  std::string gFirstCoorName() override;
  std::string gSecondCoorName() override;
  std::string LoadINIString(const std::string& section, const std::string& key,
                            const std::string& defaultValue = {}) override;

 private:
  std::string_view ClassName() const override { return "INIManager"; }
  std::string CoordinateName(const std::string& key, const std::string& defaultName);
  // LoadINIValueByKey, telling what the read found when `seen` is given.
  std::string LoadTracedValue(const std::string& section, const std::string& key,
                              std::optional<std::string>* seen);
};

}  // namespace qlxw
