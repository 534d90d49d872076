#pragma once
// This thread's trace settings, shared by every clsDebug. The switch itself lives apart (trace.h)
// so that a trace point costs one test of a thread-local flag.
#include <memory>
#include <string>

#include "core/collection.h"

namespace qlxw {

struct TraceSettings {
  std::string logFileName;
  bool debugFlag = false;  // kept for hosts; the library never reads it
  std::shared_ptr<Collection> traceObjects;
};

}  // namespace qlxw
