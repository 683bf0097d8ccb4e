#include "ui/win/dialog_support.h"

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

HWND CreateDialogWindow(HINSTANCE instance, const wchar_t* className, WNDPROC windowProc,
                        const wchar_t* iconName, const wchar_t* caption, SIZE client, void* self) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = windowProc;
  cls.hInstance = instance;
  cls.hIcon = iconName ? ::LoadIconW(instance, iconName) : nullptr;
  cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = className;
  ::RegisterClassExW(&cls);  // a second registration fails harmlessly

  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  constexpr DWORD exStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, client.cx, client.cy};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  return ::CreateWindowExW(exStyle, className, caption, style,
                           (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                           (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                           nullptr, instance, self);
}

void CreateDialogControls(HWND dialog, HINSTANCE instance, std::span<const DialogControl> controls,
                          HFONT font) {
  for (const DialogControl& c : controls) {
    const HWND child = ::CreateWindowExW(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x,
                                         c.y, c.width, c.height, dialog,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                         instance, nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    HandleDialogKeys(child);
  }
}

std::optional<LRESULT> HandleLinkLook(UINT message, WPARAM wParam, LPARAM lParam,
                                      bool (*isLink)(int id)) {
  if (message == WM_CTLCOLORSTATIC) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkMode(dc, TRANSPARENT);
    const bool link = isLink(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    ::SetTextColor(dc, link ? RGB(0, 0, 255) : ::GetSysColor(COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
  }
  if (message == WM_SETCURSOR && isLink(::GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return std::nullopt;
}

}  // namespace dravik
