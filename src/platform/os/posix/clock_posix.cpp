#include <ctime>

#include "os/clock.h"

namespace qlxw::platform {

TimeOfDay LocalTimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) {
    return {0, 0, 0};
  }
  return {local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace qlxw::platform
