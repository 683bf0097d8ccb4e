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

// The width and height `text` takes in `font`.
SIZE TextExtent(HWND control, HFONT font, const std::wstring& text);

// Twips to pixels on this screen, horizontally.
int TwipsToPixelsX(int twips);

// A fixed-size tool window with a caption and a close box, centred on the
// screen, whose class (registered here on first use, with the icon resource
// `iconName` or none) sends its messages to `windowProc` with `self` as the
// creation parameter.
HWND CreateDialogWindow(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc,
                        const wchar_t* iconName, const wchar_t* caption, SIZE client, void* self);

// A child control of a dialog, placed in client pixels.
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
