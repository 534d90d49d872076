#pragma once
// The local wall clock, as trace lines show it.

namespace qlxw::platform {

struct TimeOfDay {
  int hour;
  int minute;
  int second;
};

TimeOfDay LocalTimeOfDay();

}  // namespace qlxw::platform
