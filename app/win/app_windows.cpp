#include "app/win/app_windows.h"

namespace dravik {

namespace {

constexpr wchar_t kMainWindowClass[] = L"DravikTaskManagerMain";

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// A plain captioned window that ends the program when closed; the full main
// window with its tabs replaces it.
void AppWindows::open() {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = PlainWindowProc;
  cls.hInstance = instance_;
  cls.hIcon = ::LoadIconW(instance_, L"AAA");
  cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kMainWindowClass;
  ::RegisterClassExW(&cls);
  mainWindow_ = ::CreateWindowExW(0, kMainWindowClass, kProgramTitle, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 761, 588, nullptr, nullptr,
                                  instance_, nullptr);
  ::ShowWindow(mainWindow_, SW_SHOW);
}

void AppWindows::setMainWindowVisible(bool visible) {
  if (!mainWindow_) return;
  if (visible) {
    ::ShowWindow(mainWindow_, SW_SHOW);
    ::SetForegroundWindow(mainWindow_);
  } else {
    ::ShowWindow(mainWindow_, SW_HIDE);
  }
}

int AppWindows::run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace dravik
