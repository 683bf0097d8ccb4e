#pragma once
// What the program's small dialogs share: fonts in a language's character
// set, and the keys a dialog answers without a dialog manager in the loop.
#include <windows.h>

#include <map>
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

}  // namespace dravik
