#pragma once
// The ordered collection automation hosts know: items counted from 1, optional text keys compared
// without regard to letter case. Errors are the automation ones: 9 for a position out of range,
// 5 for an unknown key or a place to add at that does not exist, 457 for a key already in use.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "errors/lib_error.h"

namespace qlxw {

// Whether two keys name the same item: letter case aside, as the text rules fold it.
bool SameItemKey(std::string_view a, std::string_view b) noexcept;

template <class T>
class KeyedList {
 public:
  // An existing item named by its position (from 1) or its key.
  using Anchor = std::variant<std::int32_t, std::string>;

  // Adds at the end, or just before or after an existing item (not both). A key already in use fails
  // and adds nothing, and so does a place that does not exist.
  void Add(T item, std::optional<std::string> key = std::nullopt,
           const std::optional<Anchor>& before = std::nullopt,
           const std::optional<Anchor>& after = std::nullopt) {
    if (key && Find(*key) != entries_.end()) {
      RaiseAutomationError(kErrDuplicateKey);
    }
    std::size_t at = entries_.size();
    if (before && after) {
      RaiseAutomationError(kErrInvalidProcedureCall);
    }
    if (before) {
      at = PlaceOf(*before);
    } else if (after) {
      at = PlaceOf(*after) + 1;
    }
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), {std::move(item), std::move(key)});
  }

  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(entries_.size()); }
  bool Contains(std::string_view key) const { return Find(key) != entries_.end(); }

  const T& Item(std::int32_t index) const { return entries_[PositionOf(index)].first; }
  const T& Item(std::string_view key) const { return entries_[PositionOf(key)].first; }

  void Remove(std::int32_t index) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(PositionOf(index)));
  }
  void Remove(std::string_view key) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(PositionOf(key)));
  }
  void Clear() noexcept { entries_.clear(); }

  // Items in order, for range-for.
  class const_iterator {
   public:
    explicit const_iterator(typename std::vector<std::pair<T, std::optional<std::string>>>::const_iterator at)
        : at_(at) {}
    const T& operator*() const { return at_->first; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const const_iterator&) const = default;

   private:
    typename std::vector<std::pair<T, std::optional<std::string>>>::const_iterator at_;
  };
  const_iterator begin() const { return const_iterator(entries_.begin()); }
  const_iterator end() const { return const_iterator(entries_.end()); }

 private:
  using Entry = std::pair<T, std::optional<std::string>>;

  typename std::vector<Entry>::const_iterator Find(std::string_view key) const {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& entry) { return entry.second && SameItemKey(*entry.second, key); });
  }

  std::size_t PositionOf(std::int32_t index) const {
    if (index < 1 || index > Count()) {
      RaiseAutomationError(kErrSubscriptOutOfRange);
    }
    return static_cast<std::size_t>(index - 1);
  }

  // Adding refers to an existing item; one that is not there is a bad argument, not a bad subscript.
  std::size_t PlaceOf(const Anchor& anchor) const {
    if (const auto* index = std::get_if<std::int32_t>(&anchor)) {
      if (*index < 1 || *index > Count()) {
        RaiseAutomationError(kErrInvalidProcedureCall);
      }
      return static_cast<std::size_t>(*index - 1);
    }
    return PositionOf(std::get<std::string>(anchor));
  }

  std::size_t PositionOf(std::string_view key) const {
    const auto found = Find(key);
    if (found == entries_.end()) {
      RaiseAutomationError(kErrInvalidProcedureCall);
    }
    return static_cast<std::size_t>(found - entries_.begin());
  }

  std::vector<Entry> entries_;
};

}  // namespace qlxw
