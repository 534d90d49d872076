#pragma once
// clsDebug: the hosts' handle on the trace settings. It holds nothing itself; every instance works on
// this thread's settings.
#include <memory>
#include <string>

#include "collections/collection.h"

namespace qlxw {

class clsDebug {
 public:
  clsDebug();

  // Created empty on first request; the same collection for every instance afterwards.
  std::shared_ptr<Collection> colTraceObj() const;
  std::string sComponentName() const;
  void bDebug(bool debug);
  void sLogFileName(const std::string& fileName);
  void bCallLog(bool on);
  std::string sLogFileName() const;
  bool bCallLog() const;
};

}  // namespace qlxw
