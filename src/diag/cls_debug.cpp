#include "diag/cls_debug.h"

#include "core/library_state.h"
#include "diag/lib_error.h"
#include "diag/trace.h"
#include "ui/localized_strings.h"

namespace qlxw {

clsDebug::clsDebug() {
  EnsureStringTables();
}

std::shared_ptr<Collection> clsDebug::colTraceObj() const {
  return CreatedOnFirstUse(ThisThreadState().trace.traceObjects);
}

std::string clsDebug::sComponentName() const {
  return std::string(kComponentName);
}

void clsDebug::bDebug(bool debug) {
  ThisThreadState().trace.debugFlag = debug;
}

void clsDebug::sLogFileName(const std::string& fileName) {
  ThisThreadState().trace.logFileName = fileName;
}

void clsDebug::bCallLog(bool on) {
  SetTraceSwitch(on);
}

std::string clsDebug::sLogFileName() const {
  return ThisThreadState().trace.logFileName;
}

bool clsDebug::bCallLog() const {
  return TraceOn();
}

}  // namespace qlxw
