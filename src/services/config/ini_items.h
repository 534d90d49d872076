#pragma once
// The registry of keys an INI manager read at their default: their defaults are written to the file
// when the manager ends. Entries are keyed "Section.Key" without regard to letter case and kept in the
// order they were first registered.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "collections/keyed_list.h"
#include "language/language_subscription.h"
#include "values/variant.h"

namespace qlxw {

class INIItem {
 public:
  // Set once, by the factory; read-only afterwards.
  void Init(std::string section, std::string key, Variant defaultValue);

  Variant Default() const { return default_; }
  const std::string& Key() const { return key_; }
  const std::string& Section() const { return section_; }

  // What the file held for the key when a manager read it at its default (none: the key was absent).
  // Unknown for an item a host added itself.
  void RememberFileValue(std::optional<std::string> value) {
    fileValueKnown_ = true;
    fileValue_ = std::move(value);
  }
  bool FileValueKnown() const { return fileValueKnown_; }
  const std::optional<std::string>& FileValue() const { return fileValue_; }

 private:
  std::string section_;
  std::string key_;
  Variant default_;
  bool fileValueKnown_ = false;
  std::optional<std::string> fileValue_;
};

class INIItems {
 public:
  // Fails with the collection's duplicate-key error when the pair is registered already.
  std::shared_ptr<INIItem> Add(const std::string& section, const std::string& key, Variant defaultValue = {});
  bool Exists(std::string_view section, std::string_view key) const;

  void Remove(std::int32_t index) { items_.Remove(index); }
  void Remove(std::string_view sectionDotKey) { items_.Remove(sectionDotKey); }
  void Remove(const INIItem& item);

  const std::shared_ptr<INIItem>& Item(std::int32_t index) const { return items_.Item(index); }
  const std::shared_ptr<INIItem>& Item(std::string_view sectionDotKey) const {
    return items_.Item(sectionDotKey);
  }
  std::int32_t Count() const noexcept { return items_.Count(); }
  void Clear() noexcept { items_.Clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  // For the managers: registers a pair that is not registered yet (else keeps the first default and
  // returns none); removes a pair and tells whether it was there. Neither raises for a missing pair.
  std::shared_ptr<INIItem> AddIfMissing(const std::string& section, const std::string& key,
                                        Variant defaultValue);
  bool Unregister(std::string_view section, std::string_view key);

 private:
  static std::string MakeKey(std::string_view section, std::string_view key);

  KeyedList<std::shared_ptr<INIItem>> items_;
};

// The library's object factory, one per thread.
class Constructors {
 public:
  std::shared_ptr<INIItem> CreateINIItem(const std::string& section, const std::string& key,
                                         Variant defaultValue);

 private:
  LanguageSubscription ml_RuntimeSupport;
};

Constructors& SharedConstructors();

}  // namespace qlxw
