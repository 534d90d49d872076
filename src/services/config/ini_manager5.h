#pragma once
// INIManager5: the INI manager of hosts above main version 4. Values up to 1023 characters, parsing by
// the type of the default, and an OnWriteValue event after every value it writes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/ini_manager_base.h"

namespace qlxw {

// Receives INIManager5's events (the automation event interface __INIManager5).
class INIManager5Events {
 public:
  virtual ~INIManager5Events() = default;
  // After the file is written; a Boolean value stays a Boolean, text stays text.
  virtual void OnWriteValue(const std::string& section, const std::string& key, const Variant& value) = 0;
};

class INIManager5 final : public INIManagerBase, public std::enable_shared_from_this<INIManager5> {
 public:
  INIManager5() = default;
  ~INIManager5() override;
  INIManager5(const INIManager5&) = delete;
  INIManager5& operator=(const INIManager5&) = delete;

  // This object through the interface both managers share.
  std::shared_ptr<INIManagerInterface> AsIniManager() { return shared_from_this(); }

  // Listeners, as connection points keep them: held until unadvised. Returns the cookie.
  std::uint32_t Advise(std::shared_ptr<INIManager5Events> listener);
  void Unadvise(std::uint32_t cookie);

  void WriteINIBoolean(const std::string& section, const std::string& key, bool value) override;
  Variant LoadINIBoolean(const std::string& section, const std::string& key,
                         bool defaultValue = false) override;
  void WriteINIValueByKey(const std::string& section, const NullableText& key,
                          const NullableText& value) override;
  // The value with its comment cut, "" for an absent key; not trimmed.
  std::string LoadINIValueByKey(const std::string& section, const std::string& key) override;
  ANGLE_MODE gAngleMode() override;
  std::string gFirstCoorName() override;
  std::string gSecondCoorName() override;
  std::string LoadINIString(const std::string& section, const std::string& key,
                            const std::string& defaultValue = {}) override;

 private:
  Variant LoadValue(const std::string& section, const std::string& key, const Variant& defaultValue);
  // Writes the value as INI text (deletes the key instead when asked), then raises OnWriteValue.
  void WriteValue(const std::string& section, const NullableText& key, const Variant& value,
                  bool deleteKey = false);
  void RaiseWriteValue(const std::string& section, const std::string& key, const Variant& value);
  bool CanRaiseWriteEvents() const { return writeGateHolds_ == 0; }
  std::string_view ClassName() const override { return "INIManager5"; }

  int writeGateHolds_ = 0;  // events are held back while the defaults are written back
  std::vector<std::pair<std::uint32_t, std::shared_ptr<INIManager5Events>>> listeners_;
  std::uint32_t nextCookie_ = 1;
};

}  // namespace qlxw
