#include "diag/trace.h"

#include <cstdio>

#include "diag/trace_settings.h"
#include "errors/lib_error.h"
#include "os/clock.h"
#include "os/codepage.h"
#include "os/file_failure.h"
#include "os/files.h"
#include "os/thread_slots.h"
#include "os/thread_state.h"

namespace qlxw {

#if defined(__ELF__)
namespace detail {

[[gnu::tls_model("initial-exec")]] constinit thread_local bool tTraceSwitch = false;

}  // namespace detail

namespace {
void StoreTraceSwitch(bool on) noexcept {
  detail::tTraceSwitch = on;
}
}  // namespace
#else
// In a thread slot, so that it is still there while a thread ends (see platform/thread_slots.h).
bool TraceOn() noexcept {
  return platform::GetThreadSlot(platform::ThreadSlot::kTraceSwitch) != nullptr;
}

namespace {
void StoreTraceSwitch(bool on) noexcept {
  static int switchedOn = 0;  // its address marks the switch as on
  platform::SetThreadSlot(platform::ThreadSlot::kTraceSwitch, on ? &switchedOn : nullptr);
}
}  // namespace
#endif

TraceSettings& ThisThreadTraceSettings() {
  return platform::ThreadState<TraceSettings, platform::EndStage::kSettings>::Get();
}

TraceSettings::~TraceSettings() {
  StoreTraceSwitch(false);
}

void SetTraceSwitch(bool on) {
  if (on) {
    ThisThreadTraceSettings();
  }
  StoreTraceSwitch(on);
}

std::string TimeOfDayText() {
  const platform::TimeOfDay now = platform::LocalTimeOfDay();
  char buffer[16];
  const int length = std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", now.hour % 100, now.minute % 100,
                                   now.second % 100);
  return {buffer, static_cast<std::size_t>(length)};
}

void WriteTraceLine(const std::string& text) {
  std::string record;
  record.reserve(text.size() + 4);
  record.append("\"").append(platform::Utf8ToAnsi(text)).append("\"\r\n");
  const platform::FileFailure failure =
      platform::FileFailureOf(platform::AppendToFile(ThisThreadTraceSettings().logFileName, record));
  if (failure != platform::FileFailure::kNone) {
    RaiseAutomationError(platform::AutomationErrorNumberOf(failure));
  }
}

}  // namespace qlxw
