// A program with task windows for the tests of the Tasks list, driven from
// outside the way a user's programs are: by window messages.
//   task_windows_helper.exe <caption> <count> [ignoreclose]
// opens <count> windows captioned "<caption> 1".."<caption> <count>".
// Messages to any of its windows:
//   WM_SETTEXT                 changes that window's caption (the system's own)
//   kHelperStall  (WM_APP+1)   stops pumping for wParam milliseconds
//   kHelperOpen   (WM_APP+2)   opens one more window, captioned "<caption> <n>"
//   kHelperDestroy(WM_APP+3)   destroys that window
// With "ignoreclose" WM_CLOSE is ignored. The program ends when its last window is gone.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kHelperStall = WM_APP + 1;
constexpr UINT kHelperOpen = WM_APP + 2;
constexpr UINT kHelperDestroy = WM_APP + 3;
constexpr wchar_t kClassName[] = L"DravikTaskHelper";

std::wstring g_caption = L"Helper";
bool g_ignoreClose = false;
int g_opened = 0;
int g_alive = 0;

void OpenWindow() {
  ++g_opened;
  const std::wstring caption = g_caption + L" " + std::to_wstring(g_opened);
  const int offset = 20 * (g_opened % 10);
  HWND window = ::CreateWindowExW(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, 40 + offset,
                                  40 + offset, 300, 160, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  if (window) {
    ++g_alive;
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
  }
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kHelperStall:
      ::Sleep(static_cast<DWORD>(wParam));
      return 0;
    case kHelperOpen:
      OpenWindow();
      return 0;
    case kHelperDestroy:
      ::DestroyWindow(window);
      return 0;
    case WM_CLOSE:
      if (g_ignoreClose) return 0;
      break;
    case WM_DESTROY:
      if (--g_alive == 0) ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int count = 1;
  if (argc > 1) g_caption = argv[1];
  if (argc > 2) count = std::max(1, _wtoi(argv[2]));
  for (int i = 3; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"ignoreclose") g_ignoreClose = true;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = HelperProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  if (!::RegisterClassExW(&windowClass)) return 2;
  for (int i = 0; i < count; ++i) OpenWindow();
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
