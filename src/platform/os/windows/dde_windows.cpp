#include <windows.h>

#include <ddeml.h>

#include <algorithm>
#include <string>

#include "errors/lib_error.h"
#include "os/dde.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

constexpr DWORD kConnectRetryMs = 100;
// With the program's start-up wait (programs_windows.cpp) at most 10 s before a viewer that never
// comes up is an error; the command's own time-out is the caller's.
constexpr DWORD kConnectWindowMs = 5000;

HDDEDATA CALLBACK IgnoreCallback(UINT /*type*/, UINT /*format*/, HCONV /*conversation*/, HSZ /*topic*/,
                                 HSZ /*item*/, HDDEDATA /*data*/, ULONG_PTR /*data1*/, ULONG_PTR /*data2*/) {
  return nullptr;
}

// One DDEML client instance with the handles it made, freed in reverse order.
class DdeClient {
 public:
  DdeClient() {
    if (DdeInitializeW(&instance_, IgnoreCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
      instance_ = 0;
    }
  }
  ~DdeClient() {
    if (conversation_ != nullptr) {
      DdeDisconnect(conversation_);
    }
    for (HSZ name : {service_, topic_}) {
      if (name != nullptr) {
        DdeFreeStringHandle(instance_, name);
      }
    }
    if (instance_ != 0) {
      DdeUninitialize(instance_);
    }
  }
  DdeClient(const DdeClient&) = delete;
  DdeClient& operator=(const DdeClient&) = delete;

  void Execute(std::string_view service, std::string_view topic, std::string_view command, DWORD timeoutMs) {
    if (instance_ == 0) {
      Fail("DDE could not be started", service, topic);
    }
    const std::wstring wideService = WideFromUtf8(service);
    const std::wstring wideTopic = WideFromUtf8(topic);
    service_ = DdeCreateStringHandleW(instance_, wideService.c_str(), CP_WINUNICODE);
    topic_ = DdeCreateStringHandleW(instance_, wideTopic.c_str(), CP_WINUNICODE);
    // A viewer just started may register its service a moment later: ask again for a while, but no
    // longer than a started program takes to come up, so that a missing server is soon an error.
    const ULONGLONG deadline = GetTickCount64() + std::min<DWORD>(timeoutMs, kConnectWindowMs);
    conversation_ = DdeConnect(instance_, service_, topic_, nullptr);
    while (conversation_ == nullptr && GetTickCount64() < deadline) {
      Sleep(kConnectRetryMs);
      conversation_ = DdeConnect(instance_, service_, topic_, nullptr);
    }
    if (conversation_ == nullptr) {
      Fail("no DDE server answers", service, topic);
    }
    // Execute data is text; the Unicode form with its terminating NUL.
    std::wstring wideCommand = WideFromUtf8(command);
    const auto bytes = static_cast<DWORD>((wideCommand.size() + 1) * sizeof(wchar_t));
    DWORD result = 0;
    if (DdeClientTransaction(reinterpret_cast<LPBYTE>(wideCommand.data()), bytes, conversation_, nullptr,
                             CF_UNICODETEXT, XTYP_EXECUTE, timeoutMs, &result) == nullptr) {
      const UINT error = DdeGetLastError(instance_);
      Fail(error == DMLERR_EXECACKTIMEOUT ? "the DDE server did not answer in time"
                                          : "the DDE server refused the command",
           service, topic);
    }
  }

 private:
  [[noreturn]] static void Fail(const char* what, std::string_view service, std::string_view topic) {
    std::string description = what;
    description.append(" (").append(service).append("|").append(topic).append(")");
    RaiseLibError(kLibErrNotInitialized, {}, std::move(description));
  }

  DWORD instance_ = 0;
  HSZ service_ = nullptr;
  HSZ topic_ = nullptr;
  HCONV conversation_ = nullptr;
};

}  // namespace

bool DdeAvailable() noexcept {
  return true;
}

void DdeExecute(std::string_view service, std::string_view topic, std::string_view command,
                std::uint32_t timeoutMs) {
  DdeClient client;
  client.Execute(service, topic, command, timeoutMs);
}

}  // namespace qlxw::platform
