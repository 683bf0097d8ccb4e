#include "platform/win32/win32_window_manager.h"

#include <commctrl.h>

namespace platform::win32 {

int Win32UserInterface::messageBox(const std::wstring& text, const std::wstring& title,
                                   unsigned flags) {
  const std::wstring& shown = title.empty() ? applicationTitle_ : title;
  // The active window owns the box, as a modal box of the program's own should.
  return ::MessageBoxW(::GetActiveWindow(), text.c_str(), shown.c_str(), flags);
}

void Win32UserInterface::pumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the main loop to see.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool Win32InstanceLock::anotherInstanceRuns() {
  if (!mutex_) {
    mutex_.reset(::CreateMutexW(nullptr, FALSE, name_.c_str()));
    if (mutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS) {
      mutex_.reset();
      return true;
    }
  }
  return false;
}

void Win32ControlLibrary::initExtendedClasses() {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_USEREX_CLASSES};
  ::InitCommonControlsEx(&init);
}

bool Win32ControlLibrary::availableInSystem(const std::wstring&) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                              ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  if (!::InitCommonControlsEx(&init)) return false;
  static constexpr const wchar_t* kClasses[] = {WC_LISTVIEWW, WC_TABCONTROLW, TOOLBARCLASSNAMEW,
                                                STATUSCLASSNAMEW, TOOLTIPS_CLASSW};
  for (const wchar_t* name : kClasses) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    if (!::GetClassInfoExW(nullptr, name, &info)) return false;
  }
  return true;
}

}  // namespace platform::win32
