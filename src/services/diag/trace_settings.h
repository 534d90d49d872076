#pragma once
// This thread's trace settings, shared by every clsDebug. The switch itself lives apart (trace.h)
// so that a trace point costs one test of a thread-local flag; it goes off when the settings end.
#include <memory>
#include <string>

#include "collections/collection.h"

namespace qlxw {

struct TraceSettings {
  TraceSettings() = default;
  ~TraceSettings();
  TraceSettings(const TraceSettings&) = delete;
  TraceSettings& operator=(const TraceSettings&) = delete;

  std::string logFileName;
  bool debugFlag = false;  // kept for hosts; the library never reads it
  std::shared_ptr<Collection> traceObjects;
};

// This thread's settings, made on first use.
TraceSettings& ThisThreadTraceSettings();

}  // namespace qlxw
