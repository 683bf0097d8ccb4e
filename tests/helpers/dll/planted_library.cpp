// A DLL that someone could leave beside the program under the name of a system
// DLL. It exports nothing; when a process loads it, it leaves a marker file
// "<dll name>-<process id>.txt" in the folder given by DRAVIK_DLL_MARKERS, so a
// test can tell which program picked it up and under which name.
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  wchar_t folder[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", folder, MAX_PATH);
  if (reason != DLL_PROCESS_ATTACH || length == 0 || length >= MAX_PATH) return TRUE;
  wchar_t ownPath[MAX_PATH] = {};
  ::GetModuleFileNameW(instance, ownPath, MAX_PATH);
  const std::wstring own = ownPath;
  const std::wstring marker = std::wstring(folder, length) + L"\\" + own.substr(own.find_last_of(L"\\/") + 1) +
                              L"-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
  ::CloseHandle(::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return TRUE;
}
