#include "collections/keyed_list.h"

#include "text/case_fold.h"

namespace qlxw {

// Out of line, so that the collection's header does not carry the text rules to hosts.
bool SameItemKey(std::string_view a, std::string_view b) noexcept {
  return EqualsNoCase(a, b);
}

}  // namespace qlxw
