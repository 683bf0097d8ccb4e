// A program with task windows for the tests of the Tasks list, driven from
// outside the way a user's programs are: by window messages.
//   task_windows_helper.exe <caption> <count> [ignoreclose]
// opens <count> windows captioned "<caption> 1".."<caption> <count>".
// Messages to any of its windows: WM_SETTEXT changes that caption (the
// system's own); WM_APP+1 stops pumping for wParam milliseconds; WM_APP+2
// opens one more window; WM_APP+3 destroys that window. With "ignoreclose"
// WM_CLOSE is ignored. The program ends when its last window is gone.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring g_caption = L"Helper";
bool g_ignoreClose = false;
int g_opened = 0, g_alive = 0;

void OpenWindow() {
  const std::wstring caption = g_caption + L" " + std::to_wstring(++g_opened);
  const int offset = 40 + 20 * (g_opened % 10);
  if (HWND window = ::CreateWindowExW(0, L"DravikTaskHelper", caption.c_str(), WS_OVERLAPPEDWINDOW,
                                      offset, offset, 300, 160, nullptr, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr)) {
    ++g_alive;
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
  }
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_APP + 1: ::Sleep(static_cast<DWORD>(wParam)); return 0;
    case WM_APP + 2: OpenWindow(); return 0;
    case WM_APP + 3: ::DestroyWindow(window); return 0;
    case WM_CLOSE:
      if (g_ignoreClose) return 0;
      break;
    case WM_DESTROY:
      if (--g_alive == 0) ::PostQuitMessage(0);
      return 0;
    default: break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) g_caption = argv[1];
  g_ignoreClose = argc > 3 && std::wstring(argv[3]) == L"ignoreclose";
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = HelperProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"DravikTaskHelper";
  if (!::RegisterClassExW(&windowClass)) return 2;
  for (int i = 0, count = argc > 2 ? _wtoi(argv[2]) : 1; i < count; ++i) OpenWindow();
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
