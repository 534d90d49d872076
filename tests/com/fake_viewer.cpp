// A stand-in for the PDF viewer of the Windows world under Wine: registered as the program for .pdf
// files, it serves DDE service "Acroview", topic "Control", and writes each command it is sent to
// %QLXW_TEST_DIR%\dde-commands.txt, one a line. It ends after the go-to command or after 30 seconds.
#include <windows.h>

#include <ddeml.h>

#include <string>

namespace {

DWORD gInstance = 0;
HSZ gService = nullptr;
HSZ gTopic = nullptr;

void Record(const std::wstring& command) {
  wchar_t folder[MAX_PATH] = {};
  GetEnvironmentVariableW(L"QLXW_TEST_DIR", folder, MAX_PATH);
  const std::wstring path = std::wstring(folder) + L"\\dde-commands.txt";
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, command.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, command.c_str(), -1, line.data(), size, nullptr, nullptr);
  line += "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

HDDEDATA CALLBACK Serve(UINT type, UINT /*format*/, HCONV /*conversation*/, HSZ topic, HSZ service,
                        HDDEDATA data, ULONG_PTR /*data1*/, ULONG_PTR /*data2*/) {
  switch (type) {
    case XTYP_CONNECT:
      // DDE answers a connection and a command with a number in the data handle.
      // NOLINTNEXTLINE(performance-no-int-to-ptr)
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, gTopic) == 0 &&
                                                               DdeCmpStringHandles(service, gService) == 0));
    case XTYP_EXECUTE: {
      const DWORD bytes = DdeGetData(data, nullptr, 0, 0);
      std::wstring command(bytes / sizeof(wchar_t) + 1, L'\0');
      DdeGetData(data, reinterpret_cast<LPBYTE>(command.data()), bytes, 0);
      command.resize(wcslen(command.c_str()));
      Record(command);
      if (command.rfind(L"[DocGoTo(", 0) == 0) {
        PostQuitMessage(0);
      }
      // NOLINTNEXTLINE(performance-no-int-to-ptr)
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    }
    default:
      return nullptr;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  if (DdeInitializeW(&gInstance, Serve, APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS, 0) !=
      DMLERR_NO_ERROR) {
    return 1;
  }
  gService = DdeCreateStringHandleW(gInstance, L"Acroview", CP_WINUNICODE);
  gTopic = DdeCreateStringHandleW(gInstance, L"Control", CP_WINUNICODE);
  DdeNameService(gInstance, gService, nullptr, DNS_REGISTER);
  SetTimer(nullptr, 0, 30000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) {
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DdeNameService(gInstance, gService, nullptr, DNS_UNREGISTER);
  DdeFreeStringHandle(gInstance, gService);
  DdeFreeStringHandle(gInstance, gTopic);
  DdeUninitialize(gInstance);
  return 0;
}
