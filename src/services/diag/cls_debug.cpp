#include "diag/cls_debug.h"

#include "diag/trace.h"
#include "diag/trace_settings.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "values/created_on_first_use.h"

namespace qlxw {

clsDebug::clsDebug() {
  EnsureStringTables();
}

std::shared_ptr<Collection> clsDebug::colTraceObj() const {
  return CreatedOnFirstUse(ThisThreadTraceSettings().traceObjects);
}

std::string clsDebug::sComponentName() const {
  return std::string(kComponentName);
}

void clsDebug::bDebug(bool debug) {
  ThisThreadTraceSettings().debugFlag = debug;
}

void clsDebug::sLogFileName(const std::string& fileName) {
  ThisThreadTraceSettings().logFileName = fileName;
}

void clsDebug::bCallLog(bool on) {
  SetTraceSwitch(on);
}

std::string clsDebug::sLogFileName() const {
  return ThisThreadTraceSettings().logFileName;
}

bool clsDebug::bCallLog() const {
  return TraceOn();
}

}  // namespace qlxw
