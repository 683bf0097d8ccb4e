#include "app/win/app.h"

namespace dravik {

App::App(HINSTANCE instance, MainWindowOptions options)
    : options_(std::move(options)),
      tray_(instance, {[this] { return main_ ? main_->window() : HWND{}; },
                       [this] {
                         if (main_) main_->closeForExit();
                       }}) {}

App::~App() {
  // The main window goes first: its unload may still talk to the tray.
  main_.reset();
}

bool App::open() {
  if (!tray_.create()) return false;
  MainWindowOptions options = options_;
  options.labelTray = [this] {
    if (main_) tray_.labelMenu(main_->language());
  };
  options.exitProgram = [this] { tray_.callExit(); };
  main_ = std::make_unique<MainWindow>(std::move(options));
  if (!main_->create()) return false;
  main_->labelTrayAndLanguageDialog();
  tray_.addIcon();
  return true;
}

void App::setMainWindowVisible(bool visible) {
  if (!main_ || !main_->window()) return;
  if (visible) {
    ::ShowWindow(main_->window(), SW_SHOW);
    ::SetForegroundWindow(main_->window());
  } else {
    ::ShowWindow(main_->window(), SW_HIDE);
  }
}

int App::run() {
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (options_.dialogs.translateKeyboard && options_.dialogs.translateKeyboard(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace dravik
