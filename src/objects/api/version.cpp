#include "api/version.h"

namespace qlxw {

std::string_view LibraryVersion() noexcept {
  return QLXW_VERSION;
}

}  // namespace qlxw
