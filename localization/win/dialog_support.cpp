#include "localization/win/dialog_support.h"

#include <commctrl.h>

#include "localization/language_list.h"

namespace dravik {

HFONT CharsetFonts::font(const std::wstring& characterSet) {
  return font(FontCharacterSet(characterSet));
}

HFONT CharsetFonts::font(int characterSet) {
  auto& owned = fonts_[characterSet];
  if (!owned) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW face{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      face = metrics.lfMessageFont;
    } else {
      ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
    }
    face.lfCharSet = static_cast<BYTE>(characterSet);
    owned.reset(::CreateFontIndirectW(&face));
  }
  return owned.get();
}

namespace {

constexpr UINT_PTR kKeySubclassId = 0x4B45;

LRESULT CALLBACK DialogKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
  if (message == WM_KEYDOWN) {
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    const bool combo = ::lstrcmpiW(className, L"ComboBox") == 0;
    // An open drop-down list takes Escape for itself: it closes the list only.
    const bool listOpen = combo && ::SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (wParam == VK_ESCAPE && !listOpen) {
      // The window may be destroyed by the answer: nothing of it is used afterwards.
      ::PostMessageW(::GetAncestor(control, GA_ROOT), WM_COMMAND, IDCANCEL, 0);
      return 0;
    }
    if (wParam == VK_RETURN && ::lstrcmpiW(className, L"Button") == 0) {
      ::PostMessageW(control, BM_CLICK, 0, 0);
      return 0;
    }
  } else if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(control, DialogKeysProc, kKeySubclassId);
  }
  return ::DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void HandleDialogKeys(HWND control) {
  ::SetWindowSubclass(control, DialogKeysProc, kKeySubclassId, 0);
}

SIZE TextExtent(HWND control, HFONT font, const std::wstring& text) {
  SIZE size{0, 0};
  if (HDC dc = ::GetDC(control)) {
    const HGDIOBJ old = ::SelectObject(dc, font);
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
  }
  return size;
}

int TwipsToPixelsX(int twips) {
  int dpi = 96;
  if (HDC dc = ::GetDC(nullptr)) {
    dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(nullptr, dc);
  }
  return ::MulDiv(twips, dpi, 1440);
}

}  // namespace dravik
