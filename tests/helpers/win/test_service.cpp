// A service for the tests: installed by a test under a name of its own, with
// that name as its one argument. It runs until told to stop and takes pause
// and continue, so every command of the Services tab has something to act on.
#include <windows.h>

#include <string>

namespace {

std::wstring g_name;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopEvent = nullptr;
SERVICE_STATUS g_status{};

void Report(DWORD state) {
  g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  g_status.dwCurrentState = state;
  g_status.dwControlsAccepted =
      state == SERVICE_START_PENDING ? 0 : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;
  g_status.dwWin32ExitCode = NO_ERROR;
  g_status.dwWaitHint = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ? 3000 : 0;
  ::SetServiceStatus(g_statusHandle, &g_status);
}

DWORD WINAPI Handler(DWORD control, DWORD, LPVOID, LPVOID) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
      Report(SERVICE_STOP_PENDING);
      ::SetEvent(g_stopEvent);
      return NO_ERROR;
    case SERVICE_CONTROL_PAUSE:
      Report(SERVICE_PAUSED);
      return NO_ERROR;
    case SERVICE_CONTROL_CONTINUE:
      Report(SERVICE_RUNNING);
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  g_statusHandle = ::RegisterServiceCtrlHandlerExW(g_name.c_str(), &Handler, nullptr);
  if (!g_statusHandle) return;
  g_stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_START_PENDING);
  Report(SERVICE_RUNNING);
  ::WaitForSingleObject(g_stopEvent, INFINITE);
  Report(SERVICE_STOPPED);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  g_name = argv[1];
  SERVICE_TABLE_ENTRYW table[] = {{g_name.data(), &ServiceMain}, {nullptr, nullptr}};
  // Fails when the program is not started by the service control manager.
  return ::StartServiceCtrlDispatcherW(table) ? 0 : 2;
}
