#pragma once
// The ordered collection automation hosts know: items counted from 1, optional text keys compared
// without regard to letter case.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"

namespace qlxw {

class Collection {
 public:
  // Adds at the end. A key already in use fails with error 457 and adds nothing.
  void Add(Variant item, std::optional<std::string> key = std::nullopt);

  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(entries_.size()); }

  // Position out of range: error 9. Unknown key: error 5.
  const Variant& Item(std::int32_t index) const;
  const Variant& Item(std::string_view key) const;

  void Remove(std::int32_t index);
  void Remove(std::string_view key);

 private:
  struct Entry {
    Variant item;
    std::optional<std::string> key;
  };

  std::size_t PositionOf(std::int32_t index) const;
  std::size_t PositionOf(std::string_view key) const;

  std::vector<Entry> entries_;
};

}  // namespace qlxw
