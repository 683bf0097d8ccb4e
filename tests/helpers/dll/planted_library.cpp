// A DLL that someone could leave beside the program under the name of a system
// DLL. It exports nothing; when a process loads it, it writes a marker file
// naming that process into the folder given by DRAVIK_DLL_MARKERS, so a test
// can tell which program picked it up and under which name.
#include <windows.h>

#include <string>

namespace {

void WriteMarker(HMODULE self) {
  wchar_t folder[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;

  wchar_t ownPath[MAX_PATH] = {};
  ::GetModuleFileNameW(self, ownPath, MAX_PATH);
  const wchar_t* ownName = ownPath;
  for (const wchar_t* p = ownPath; *p; ++p) {
    if (*p == L'\\' || *p == L'/') ownName = p + 1;
  }
  // <folder>\<dll name>-<process id>.txt: one file per load, none overwritten.
  const std::wstring marker = std::wstring(folder, length) + L"\\" + ownName + L"-" +
                             std::to_wstring(::GetCurrentProcessId()) + L".txt";

  wchar_t process[MAX_PATH] = {};
  const DWORD processLength = ::GetModuleFileNameW(nullptr, process, MAX_PATH);
  const HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, process, processLength * sizeof(wchar_t), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) WriteMarker(instance);
  return TRUE;
}
