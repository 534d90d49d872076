#pragma once
// What the two INI managers share: the registry of defaults and its write-back, the file name, and
// the settings that read and write only through the manager's own operations.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "config/ini_manager_interface.h"
#include "language/language_subscription.h"

namespace qlxw {

class INIItems;

class INIManagerBase : public INIManagerInterface {
 public:
  ~INIManagerBase() override;
  INIManagerBase(const INIManagerBase&) = delete;
  INIManagerBase& operator=(const INIManagerBase&) = delete;

  void INIFileName(const std::string& name) override;
  std::string INIFileName() const override;
  bool gSwapXY() override;
  bool TryKeepLayerVisible() override;
  void TryKeepLayerVisible(bool value) override;
  bool WarnInvisibleCurrentLayer() override;
  void WarnInvisibleCurrentLayer(bool value) override;

 protected:
  INIManagerBase();

  // The class name errors carry as their source.
  virtual std::string_view ClassName() const = 0;

  // What ending does, called by the most derived destructor while the object is still whole: the
  // language subscription goes, then every registered default is written; nothing of it can fail.
  void EndManager() noexcept;

  // Registers a key read at its default, with what that read found in the file (`seen`), so that the
  // write-back leaves a value another writer puts there later. A key that cannot be registered is just
  // not written back.
  void RegisterDefault(const std::string& section, const std::string& key, const Variant& defaultValue,
                       const std::optional<std::string>& seen) noexcept;
  // The same, failing as the registry does (out of memory) for a caller that answers a failure.
  void Register(const std::string& section, const std::string& key, const Variant& defaultValue,
                const std::optional<std::string>& seen);

  // The keys waiting for their defaults to be written back.
  std::unique_ptr<INIItems> items_;

 private:
  void SaveDefaultsToINI();

  std::unique_ptr<LanguageSubscription> ml_RuntimeSupport = std::make_unique<LanguageSubscription>();
};

}  // namespace qlxw
