#include "config/ini_items.h"

#include <utility>

#include "os/thread_state.h"

namespace qlxw {

void INIItem::Init(std::string section, std::string key, Variant defaultValue) {
  section_ = std::move(section);
  key_ = std::move(key);
  default_ = std::move(defaultValue);
}

std::string INIItems::MakeKey(std::string_view section, std::string_view key) {
  std::string joined(section);
  joined.append(".").append(key);
  return joined;
}

std::shared_ptr<INIItem> INIItems::Add(const std::string& section, const std::string& key,
                                       Variant defaultValue) {
  auto item = SharedConstructors().CreateINIItem(section, key, std::move(defaultValue));
  items_.Add(item, MakeKey(section, key));
  return item;
}

bool INIItems::Exists(std::string_view section, std::string_view key) const {
  return items_.Contains(MakeKey(section, key));
}

void INIItems::Remove(const INIItem& item) {
  items_.Remove(MakeKey(item.Section(), item.Key()));
}

std::shared_ptr<INIItem> INIItems::AddIfMissing(const std::string& section, const std::string& key,
                                                Variant defaultValue) {
  if (Exists(section, key)) {
    return nullptr;
  }
  return Add(section, key, std::move(defaultValue));
}

bool INIItems::Unregister(std::string_view section, std::string_view key) {
  if (!Exists(section, key)) {
    return false;
  }
  items_.Remove(MakeKey(section, key));
  return true;
}

std::shared_ptr<INIItem> Constructors::CreateINIItem(const std::string& section, const std::string& key,
                                                     Variant defaultValue) {
  auto item = std::make_shared<INIItem>();
  item->Init(section, key, std::move(defaultValue));
  return item;
}

Constructors& SharedConstructors() {
  using Slot = platform::ThreadState<Constructors, platform::EndStage::kHostObjects>;
  return Slot::Get();
}

}  // namespace qlxw
