#pragma once
// What the program's small dialogs share: fonts in a language's character
// set, and the keys a dialog answers without a dialog manager in the loop.
#include <windows.h>

#include <map>
#include <optional>
#include <span>
#include <string>

#include "platform/win32/handles.h"

namespace dravik {

// The dialog font of the system, once per character set.
class CharsetFonts {
 public:
  // The set code as a language file gives it ("CharacterSet"); a value that
  // is not a set code gives the default set.
  HFONT font(const std::wstring& characterSet);
  HFONT font(int characterSet);

 private:
  std::map<int, platform::win32::UniqueFont> fonts_;
};

// Makes Escape pressed in `control` close its top-level window (as
// WM_COMMAND IDCANCEL to it), and Enter on a button press that button.
void HandleDialogKeys(HWND control);

// The size `control`'s text takes in the control's own font: wrapped at word
// breaks as a static text wraps it within `wrapWidth` pixels, or on one line
// when `wrapWidth` is 0. A word longer than the line makes it wider.
SIZE TextBlock(HWND control, int wrapWidth = 0);

// Dialog units of a font, as the system's dialog templates measure them: a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height. Placing controls in them makes a
// dialog grow with its font, and so with the screen's resolution.
class DialogUnits {
 public:
  DialogUnits(HWND window, HFONT font);
  int x(int units) const { return ::MulDiv(units, baseX_, 4); }
  int y(int units) const { return ::MulDiv(units, baseY_, 8); }

 private:
  int baseX_ = 6;
  int baseY_ = 13;
};

// Gives `dialog` this client size. A hidden dialog is centred on the work
// area again (its top-left corner kept on it when larger); a shown one keeps
// its top-left corner where the user has it.
void SetClientSize(HWND dialog, SIZE client);

// The size of a push button for the text it holds: the usual 50 x 14 dialog
// units, larger when its text needs more.
SIZE ButtonSize(HWND button, const DialogUnits& units);

// Twips to pixels on this screen, horizontally.
int TwipsToPixelsX(int twips);

// A fixed-size tool window with a caption and a close box, centred on the
// work area, whose class (registered here on first use, with the icon resource
// `iconName` or none) sends its messages to `windowProc` with `self` as the
// creation parameter.
HWND CreateDialogWindow(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc,
                        const wchar_t* iconName, const wchar_t* caption, SIZE client, void* self);

// A child control of a dialog, created in client pixels; the dialog's layout
// then places it in dialog units.
struct DialogControl {
  int id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  int x, y, width, height;
};
// Creates the controls visible, in `font`, with the dialog keys (Escape, Enter).
void CreateDialogControls(HWND dialog, HINSTANCE instance, std::span<const DialogControl> controls,
                          HFONT font);

// Links drawn blue with a hand cursor: answers WM_CTLCOLORSTATIC for every
// static control and WM_SETCURSOR over a link; nothing for other messages.
std::optional<LRESULT> HandleLinkLook(UINT message, WPARAM wParam, LPARAM lParam,
                                      bool (*isLink)(int id));

}  // namespace dravik
