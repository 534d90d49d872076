
#include <windows.h>

#include "os/clock.h"

namespace qlxw::platform {

TimeOfDay LocalTimeOfDay() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond};
}

}  // namespace qlxw::platform
