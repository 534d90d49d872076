#pragma once
// Keys: for each folder number, the folder's fixed key name (its name in INI files and in path
// variables) and its default sub-folder name in the language current when the Keys object was built.
#include <cstdint>
#include <memory>
#include <string>

#include "collections/keyed_list.h"
#include "folders/folder_ids.h"
#include "language/language_subscription.h"

namespace qlxw {

class KeyValue {
  struct Passkey {};
  friend class Keys;

 public:
  KeyValue(Passkey /*onlyKeys*/, std::string key, std::string value)
      : key_(std::move(key)), value_(std::move(value)) {}

  const std::string& Value() const noexcept { return value_; }
  const std::string& Key() const noexcept { return key_; }

 private:
  std::string key_;
  std::string value_;
};

class Keys {
 public:
  // Takes the language runtime's language and builds the 17 records in their fixed order.
  Keys();

  // The record of a folder number 0..16; any other number fails with error 5.
  const std::shared_ptr<KeyValue>& Item(std::int32_t index) const;
  std::int32_t Count() const noexcept { return records_.Count(); }

  // Records in the table's order (the order of For Each).
  KeyedList<std::shared_ptr<KeyValue>>::const_iterator begin() const { return records_.begin(); }
  KeyedList<std::shared_ptr<KeyValue>>::const_iterator end() const { return records_.end(); }

 private:
  LanguageSubscription language_;  // a language change reaches the library; the records stay
  KeyedList<std::shared_ptr<KeyValue>> records_;
};

}  // namespace qlxw
