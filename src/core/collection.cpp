#include "core/collection.h"

#include <algorithm>

#include "diag/lib_error.h"
#include "text/case_fold.h"

namespace qlxw {

void Collection::Add(Variant item, std::optional<std::string> key) {
  if (key && std::any_of(entries_.begin(), entries_.end(),
                         [&](const Entry& entry) { return entry.key && EqualsNoCase(*entry.key, *key); })) {
    RaiseAutomationError(kErrDuplicateKey);
  }
  entries_.push_back({std::move(item), std::move(key)});
}

const Variant& Collection::Item(std::int32_t index) const {
  return entries_[PositionOf(index)].item;
}

const Variant& Collection::Item(std::string_view key) const {
  return entries_[PositionOf(key)].item;
}

void Collection::Remove(std::int32_t index) {
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(PositionOf(index)));
}

void Collection::Remove(std::string_view key) {
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(PositionOf(key)));
}

std::size_t Collection::PositionOf(std::int32_t index) const {
  if (index < 1 || index > Count()) {
    RaiseAutomationError(kErrSubscriptOutOfRange);
  }
  return static_cast<std::size_t>(index - 1);
}

std::size_t Collection::PositionOf(std::string_view key) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
    return entry.key && EqualsNoCase(*entry.key, key);
  });
  if (found == entries_.end()) {
    RaiseAutomationError(kErrInvalidProcedureCall);
  }
  return static_cast<std::size_t>(found - entries_.begin());
}

}  // namespace qlxw
