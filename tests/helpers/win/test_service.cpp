// A service for the tests: installed by a test under a name of its own, with
// that name as its one argument. It runs until told to stop and takes pause
// and continue, so every command of the Services tab has something to act on.
#include <windows.h>

#include <string>

namespace {

std::wstring g_name;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopEvent = nullptr;

void Report(DWORD state) {
  SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, state, SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE,
                        NO_ERROR, 0, 0, state == SERVICE_STOP_PENDING ? 3000u : 0u};
  ::SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, LPVOID, LPVOID) {
  if (control == SERVICE_CONTROL_STOP) {
    Report(SERVICE_STOP_PENDING);
    ::SetEvent(g_stopEvent);
  } else if (control == SERVICE_CONTROL_PAUSE || control == SERVICE_CONTROL_CONTINUE) {
    Report(control == SERVICE_CONTROL_PAUSE ? SERVICE_PAUSED : SERVICE_RUNNING);
  } else if (control != SERVICE_CONTROL_INTERROGATE) {
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  g_statusHandle = ::RegisterServiceCtrlHandlerExW(g_name.c_str(), &Handler, nullptr);
  if (!g_statusHandle) return;
  g_stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
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
