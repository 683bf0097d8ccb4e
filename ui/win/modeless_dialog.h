#pragma once
// A dialog of the program's own that stays open beside the main window (no
// owner, no modal loop): its window, its fonts, the keys and the closing it
// shares with the program's other such dialogs. A dialog built on it keeps
// only its controls, its texts and its layout.
#include <windows.h>

#include <span>
#include <string>

#include "ui/win/dialog_support.h"

namespace dravik {

class ModelessDialog {
 public:
  ModelessDialog(const ModelessDialog&) = delete;
  ModelessDialog& operator=(const ModelessDialog&) = delete;

  HWND window() const { return window_; }
  // For the program's message loop: Tab and the dialog keys between controls.
  bool translateKeyboard(MSG& message);
  // Closes the dialog; it is made anew when next shown.
  void close();

 protected:
  // `className` is the dialog's own window class; `routine` names the dialog
  // in the report of an unexpected error; `isLink` tells the controls drawn
  // as links.
  ModelessDialog(HINSTANCE instance, const wchar_t* className, const wchar_t* routine,
                 bool (*isLink)(int id));
  virtual ~ModelessDialog();

  // Creates the window hidden with its controls in `font`; false when it
  // could not be made.
  bool createWindow(const wchar_t* iconName, const wchar_t* caption,
                    std::span<const DialogControl> controls, HFONT font);
  // Shows the dialog in front with the keyboard in control `focus`.
  void showInFront(int focus);

  HWND control(int id) const { return ::GetDlgItem(window_, id); }
  // Id 0 is the dialog's caption.
  void setText(int id, const std::wstring& text);
  // The dialog font in a language file's character set ("CharacterSet").
  void setCharset(int id, const std::wstring& characterSet);
  void place(int id, int x, int y, SIZE size);
  // Dialog units of the font control `id` shows its text in.
  DialogUnits unitsOf(int id) const;

  HINSTANCE instance() const { return instance_; }
  CharsetFonts& fonts() { return fonts_; }

  // A command from a control (WM_COMMAND), its notification `code`. Not pure:
  // a list losing the focus still reports it while the base closes the window.
  virtual void command(int /*id*/, int /*code*/, LPARAM /*lParam*/) {}
  // The window is going: what belongs to it is forgotten.
  virtual void destroyed() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  const wchar_t* className_;
  const wchar_t* routine_;
  bool (*isLink_)(int id);
  HWND window_ = nullptr;
  CharsetFonts fonts_;
};

}  // namespace dravik
