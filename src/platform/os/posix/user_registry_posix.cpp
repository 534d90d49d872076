#include "os/user_registry.h"

namespace qlxw::platform {

bool UserRegistryAvailable() noexcept {
  return false;
}

std::optional<std::string> ReadUserRegistryText(std::string_view /*key*/, std::string_view /*name*/) {
  return std::nullopt;
}

bool WriteUserRegistryText(std::string_view /*key*/, std::string_view /*name*/, std::string_view /*value*/) {
  return false;
}

}  // namespace qlxw::platform
