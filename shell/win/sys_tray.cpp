#include "shell/win/sys_tray.h"

#include <vector>

#include "ui/program_title.h"
#include "ui/win/window_object.h"
#include "shell/tray_mouse.h"

namespace dravik {

namespace {

constexpr wchar_t kTrayClass[] = L"DravikTaskManagerTray";

// The program's own windows that a user sees as windows: the main window and
// the dialogs (not the tool tips and other helpers the controls own).
BOOL CALLBACK CollectForm(HWND window, LPARAM list) {
  if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

HICON LoadTrayIcon(HINSTANCE instance) {
  for (const wchar_t* name : {L"TRAY", L"AAA"}) {
    auto icon = static_cast<HICON>(::LoadImageW(instance, name, IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXSMICON),
                                                ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (icon) return icon;
  }
  return ::LoadIconW(nullptr, IDI_APPLICATION);
}

// From Vista on, a message from a less privileged process (the shell, when
// this program runs elevated) is dropped unless the window lets it through.
// Both calls are missing on XP, which has no such filter; the per-window one
// (Windows 7) is preferred over the process-wide one (Vista).
void AllowFromShell(HWND window, UINT message) {
  constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD for the older call
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  using PerWindow = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  using PerProcess = BOOL(WINAPI*)(UINT, DWORD);
  if (auto perWindow = reinterpret_cast<PerWindow>(
          reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilterEx")))) {
    perWindow(window, message, kAllow, nullptr);
  } else if (auto perProcess = reinterpret_cast<PerProcess>(
                 reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilter")))) {
    perProcess(message, kAllow);
  }
}

}  // namespace

SysTray::~SysTray() {
  if (iconAdded_) {
    NOTIFYICONDATAW data = iconData();
    ::Shell_NotifyIconW(NIM_DELETE, &data);
  }
  if (window_) ::DestroyWindow(window_);
}

NOTIFYICONDATAW SysTray::iconData() const {
  NOTIFYICONDATAW data{};
  // The size older shells know, so the icon appears on every supported system.
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kIconMessage;
  data.hIcon = icon_;
  // The tip is the product's name in every language.
  wcsncpy(data.szTip, kProgramTitle, sizeof(data.szTip) / sizeof(data.szTip[0]) - 1);
  return data;
}

bool SysTray::create() {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.hInstance = instance_;
  cls.lpfnWndProc = &WindowProc;
  cls.lpszClassName = kTrayClass;
  ::RegisterClassExW(&cls);
  icon_ = LoadTrayIcon(instance_);
  window_ = ::CreateWindowExW(0, kTrayClass, kProgramTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                              nullptr, instance_, this);
  if (!window_) return false;
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  // Only a top-level window hears the broadcast (not a message-only one).
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  if (taskbarCreated_) AllowFromShell(window_, taskbarCreated_);

  menu_.reset(::CreatePopupMenu());
  ::AppendMenuW(menu_.get(), MF_STRING, kMenuOpen, L"Open");
  ::AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu_.get(), MF_STRING, kMenuExit, L"Exit");
  return true;
}

void SysTray::addIcon() {
  if (!window_ || iconAdded_) return;
  iconWanted_ = true;
  NOTIFYICONDATAW data = iconData();
  iconAdded_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void SysTray::addIconAgain() {
  if (!iconWanted_ || exiting_) return;
  // Also when the first add failed: the shell may simply not have been up yet.
  NOTIFYICONDATAW data = iconData();
  if (::Shell_NotifyIconW(NIM_ADD, &data)) iconAdded_ = true;
}

void SysTray::labelMenu(const Language& language) {
  if (!menu_) return;
  const std::pair<UINT, TextKey> items[] = {{kMenuOpen, text_key::kTrayOpen}, {kMenuExit, text_key::kTrayExit}};
  for (const auto& [id, key] : items) {
    std::wstring text = language.text(key);
    ::ModifyMenuW(menu_.get(), id, MF_BYCOMMAND | MF_STRING, id, text.c_str());
  }
}

void SysTray::restoreMainWindow() {
  HWND main = host_.mainWindow ? host_.mainWindow() : nullptr;
  if (!main) return;
  if (::IsIconic(main) || ::IsZoomed(main)) ::ShowWindow(main, SW_RESTORE);
  ::SetForegroundWindow(main);
  ::ShowWindow(main, SW_SHOW);
}

void SysTray::showMenu() {
  HWND main = host_.mainWindow ? host_.mainWindow() : nullptr;
  HWND owner = main ? main : window_;
  // The menu closes on a click elsewhere only while its owner is in front.
  ::SetForegroundWindow(owner);
  POINT at{};
  ::GetCursorPos(&at);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenuEx(
      menu_.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr));
  ::PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen == kMenuOpen) restoreMainWindow();
  if (chosen == kMenuExit) callExit();
}

void SysTray::callExit() {
  if (exiting_) return;
  exiting_ = true;
  std::vector<HWND> forms;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectForm, reinterpret_cast<LPARAM>(&forms));
  HWND main = host_.mainWindow ? host_.mainWindow() : nullptr;
  for (HWND form : forms) {
    if (form == window_ || !::IsWindow(form)) continue;
    ::ShowWindow(form, SW_HIDE);
    if (form == main && host_.closeMainWindow) {
      host_.closeMainWindow();
    } else {
      ::SendMessageW(form, WM_CLOSE, 0, 0);
    }
  }
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (iconAdded_) {
    NOTIFYICONDATAW data = iconData();
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    iconAdded_ = false;
  }
  ::DestroyWindow(window_);
  ::PostQuitMessage(0);
}

LRESULT SysTray::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    addIconAgain();
    return 0;
  }
  switch (message) {
    case kIconMessage:
      switch (TrayActionFor(LOWORD(lParam))) {
        case TrayAction::RestoreMainWindow: restoreMainWindow(); break;
        case TrayAction::ShowMenu: showMenu(); break;
        case TrayAction::Nothing: break;
      }
      return 0;
    case WM_CLOSE:
      callExit();
      return 0;
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

LRESULT CALLBACK SysTray::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchToObject(window, message, wParam, lParam, &SysTray::window_, L"SysTray",
                          [&](SysTray& self) { return self.handle(message, wParam, lParam); });
}

}  // namespace dravik
