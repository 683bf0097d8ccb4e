#include "app/win/app_windows.h"

#include "shell/win/sys_tray.h"

namespace dravik {

AppWindows::AppWindows(HINSTANCE instance, StartupPlatform& platform)
    : instance_(instance), platform_(platform) {}

AppWindows::~AppWindows() = default;

void AppWindows::open() {
  MainWindowOptions options;
  options.instance = instance_;
  options.programFolder = platform_.system.programFolder();
  options.registry = &platform_.registry;
  options.profiles = &platform_.profiles;
  options.ui = &platform_.ui;
  options.createPages = createPages_;
  options.dialogs = dialogs_;
  tray_ = std::make_unique<SysTray>(instance_);
  if (!tray_->create(std::move(options))) {
    // Without its windows the program has nothing to run on.
    ::PostQuitMessage(1);
  }
}

MainWindow* AppWindows::mainWindow() const { return tray_ ? tray_->mainWindow() : nullptr; }

void AppWindows::setMainWindowVisible(bool visible) {
  MainWindow* main = mainWindow();
  if (!main || !main->window()) return;
  if (visible) {
    ::ShowWindow(main->window(), SW_SHOW);
    ::SetForegroundWindow(main->window());
  } else {
    ::ShowWindow(main->window(), SW_HIDE);
  }
}

int AppWindows::run() {
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dialogs_.translateKeyboard && dialogs_.translateKeyboard(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace dravik
