#include "ui/win/modeless_dialog.h"

#include "ui/win/window_object.h"

namespace dravik {

ModelessDialog::ModelessDialog(HINSTANCE instance, const wchar_t* className, const wchar_t* routine,
                               bool (*isLink)(int id))
    : instance_(instance), className_(className), routine_(routine), isLink_(isLink) {}

// The window goes before the dialog's own members: its last messages reach
// this class alone, which needs none of them.
ModelessDialog::~ModelessDialog() { close(); }

void ModelessDialog::close() {
  if (window_) ::DestroyWindow(window_);
}

bool ModelessDialog::translateKeyboard(MSG& message) {
  return window_ && ::IsDialogMessageW(window_, &message);
}

bool ModelessDialog::createWindow(const wchar_t* iconName, const wchar_t* caption,
                                  std::span<const DialogControl> controls, HFONT font) {
  window_ = CreateDialogWindow(instance_, className_, WindowProc, iconName, caption, {0, 0}, this);
  if (!window_) return false;
  CreateDialogControls(window_, instance_, controls, font);
  return true;
}

void ModelessDialog::showInFront(int focus) {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  ::SetFocus(control(focus));
}

void ModelessDialog::setText(int id, const std::wstring& text) {
  ::SetWindowTextW(id == 0 ? window_ : control(id), text.c_str());
}

void ModelessDialog::setCharset(int id, const std::wstring& characterSet) {
  ::SendMessageW(id == 0 ? window_ : control(id), WM_SETFONT,
                 reinterpret_cast<WPARAM>(fonts_.font(characterSet)), TRUE);
}

void ModelessDialog::place(int id, int x, int y, SIZE size) {
  ::MoveWindow(control(id), x, y, size.cx, size.cy, TRUE);
}

DialogUnits ModelessDialog::unitsOf(int id) const {
  return DialogUnits(window_, reinterpret_cast<HFONT>(::SendMessageW(control(id), WM_GETFONT, 0, 0)));
}

LRESULT ModelessDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto answered = HandleLinkLook(message, wParam, lParam, isLink_)) return *answered;
  switch (message) {
    case WM_COMMAND:
      command(LOWORD(wParam), HIWORD(wParam), lParam);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        close();
        return 0;
      }
      break;
    case WM_CLOSE:
      close();
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      destroyed();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK ModelessDialog::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ModelessDialog* self = WindowObject(window, message, lParam, &ModelessDialog::window_);
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  return platform::win32::Guarded(self->routine_, LRESULT{0},
                                  [&] { return self->handle(message, wParam, lParam); });
}

}  // namespace dravik
