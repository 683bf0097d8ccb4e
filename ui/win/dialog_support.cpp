#include "ui/win/dialog_support.h"

#include <commctrl.h>

#include <algorithm>

#include "localization/language_list.h"
#include "platform/win32/exception_boundary.h"

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

LRESULT CALLBACK DialogKeysProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

LRESULT DialogKeys(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
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

LRESULT CALLBACK DialogKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
  return platform::win32::Guarded(L"DialogKeys", LRESULT{0}, [&] { return DialogKeys(control, message, wParam, lParam); });
}

}  // namespace

void HandleDialogKeys(HWND control) {
  ::SetWindowSubclass(control, DialogKeysProc, kKeySubclassId, 0);
}

namespace {

// A device context of `control` with its font (or the one given) selected.
class ControlDc {
 public:
  explicit ControlDc(HWND control)
      : ControlDc(control, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0))) {}
  ControlDc(HWND control, HFONT font) : dc_(control), font_(dc_.get(), font) {}
  HDC get() const { return dc_.get(); }

 private:
  platform::win32::WindowDc dc_;
  platform::win32::SelectedObject font_;
};

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

SIZE TextBlock(HWND control, int wrapWidth) {
  const std::wstring text = TextOf(control);
  const ControlDc dc(control);
  if (!dc.get()) return {0, 0};
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  wchar_t className[16] = {};
  ::GetClassNameW(control, className, 16);
  const bool isStatic = ::lstrcmpiW(className, L"Static") == 0;
  UINT format = DT_CALCRECT | DT_EXPANDTABS;
  if (isStatic && (style & SS_NOPREFIX)) format |= DT_NOPREFIX;
  format |= wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE;
  RECT r{0, 0, wrapWidth, 0};
  // An empty text still takes a line: the control keeps its place in the column.
  const std::wstring measured = text.empty() ? std::wstring(L" ") : text;
  ::DrawTextW(dc.get(), measured.c_str(), static_cast<int>(measured.size()), &r, format);
  return {text.empty() ? 0 : r.right - r.left, r.bottom - r.top};
}

DialogUnits::DialogUnits(HWND window, HFONT font) {
  const ControlDc dc(window, font);
  if (!dc.get()) return;
  TEXTMETRICW metrics{};
  SIZE alphabet{};
  static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  if (::GetTextMetricsW(dc.get(), &metrics) &&
      ::GetTextExtentPoint32W(dc.get(), kAlphabet, 52, &alphabet) && metrics.tmHeight > 0) {
    baseX_ = (alphabet.cx / 26 + 1) / 2;  // the average width, rounded, as the system takes it
    baseY_ = metrics.tmHeight;
  }
}

void SetClientSize(HWND dialog, SIZE client) {
  RECT frame{0, 0, client.cx, client.cy};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (::IsWindowVisible(dialog)) {
    ::SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const auto place = [](LONG start, LONG end, int size) {
    return size > end - start ? start : start + (end - start - size) / 2;
  };
  ::SetWindowPos(dialog, nullptr, place(work.left, work.right, width),
                 place(work.top, work.bottom, height), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE ButtonSize(HWND button, const DialogUnits& units) {
  const SIZE text = TextBlock(button);
  // Room for the 3D border and the focus rectangle on each side of the text.
  const int paddingX = units.x(4) + 2 * ::GetSystemMetrics(SM_CXEDGE);
  const int paddingY = units.y(2) + 2 * ::GetSystemMetrics(SM_CYEDGE);
  return {std::max<LONG>(units.x(50), text.cx + 2 * paddingX),
          std::max<LONG>(units.y(14), text.cy + 2 * paddingY)};
}

int TwipsToPixelsX(int twips) {
  const platform::win32::WindowDc screen;
  return ::MulDiv(twips, screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96, 1440);
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
  const HWND dialog = ::CreateWindowExW(exStyle, className, caption, style, 0, 0, 0, 0, nullptr,
                                        nullptr, instance, self);
  if (dialog) SetClientSize(dialog, client);
  return dialog;
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
