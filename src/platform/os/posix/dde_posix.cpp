#include <string>

#include "errors/lib_error.h"
#include "os/dde.h"

namespace qlxw::platform {

bool DdeAvailable() noexcept {
  return false;
}

void DdeExecute(std::string_view service, std::string_view topic, std::string_view /*command*/,
                std::uint32_t /*timeoutMs*/) {
  std::string description = "DDE is not available on this system (";
  description.append(service).append("|").append(topic).append(")");
  RaiseLibError(kLibErrNotInitialized, {}, std::move(description));
}

}  // namespace qlxw::platform
