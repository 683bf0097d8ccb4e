#include "support/win/ui_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace testsupport {

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

MessageBoxAnswerer::MessageBoxAnswerer(int button, std::function<void()> whileShown,
                                       std::chrono::milliseconds timeout)
    : thread_([this, button, whileShown, timeout] {
        const DWORD pid = ::GetCurrentProcessId();
        MessageBoxInfo box;
        if (!WaitFor([&] { return (box = FindMessageBox(pid)).window != nullptr; }, timeout)) return;
        box_ = box;
        if (whileShown) whileShown();
        // A box without the asked button would ignore it and hold the test
        // until its time-out: it is closed with a button it has, and the
        // answer counts as not given.
        const bool has = box.buttons.empty() ||
                         std::find(box.buttons.begin(), box.buttons.end(), button) != box.buttons.end();
        const int press = has ? button : box.buttons.front();
        answered_ = ::PostMessageW(box.window, WM_COMMAND, press, 0) != FALSE && has;
      }) {}

bool MessageBoxAnswerer::finish() {
  thread_.join();
  return answered_;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int FontCharset(HWND control) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW face{};
  return font && ::GetObjectW(font, sizeof(face), &face) ? face.lfCharSet : -1;
}

namespace {

// How the control draws its text, as DrawText flags; nullopt for controls
// that show no text (pictures, frames).
std::optional<UINT> TextFormat(HWND control, const wchar_t* className) {
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  if (::lstrcmpiW(className, L"Static") == 0) {
    UINT format = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    switch (style & SS_TYPEMASK) {
      case SS_LEFT: case SS_CENTER: case SS_RIGHT: return format | DT_WORDBREAK;
      case SS_SIMPLE: case SS_LEFTNOWORDWRAP: return format | DT_SINGLELINE;
      default: return std::nullopt;
    }
  }
  if (::lstrcmpiW(className, L"Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return std::nullopt;
    return (style & BS_MULTILINE) ? UINT{DT_WORDBREAK} : UINT{DT_SINGLELINE};
  }
  return std::nullopt;
}

}  // namespace

void ExpectTextsFit(HWND window, int least, const std::wstring& what) {
  int measured = 0;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    const auto format = TextFormat(child, className);
    const std::wstring text = WindowText(child);
    if (!format || text.empty()) continue;
    ++measured;
    // What the parent's client area cuts off a control is clipped as well.
    RECT room{}, parent{}, shown{};
    ::GetClientRect(child, &room);
    ::GetClientRect(::GetParent(child), &parent);
    const RECT placed = RectInParent(child);
    ::IntersectRect(&shown, &placed, &parent);
    room.right = std::min(room.right, room.left + (shown.right - shown.left));
    room.bottom = std::min(room.bottom, room.top + (shown.bottom - shown.top));
    if (::lstrcmpiW(className, L"Button") == 0) {
      ::InflateRect(&room, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
    }
    RECT needed{0, 0, (*format & DT_WORDBREAK) ? room.right - room.left : 0, 0};
    const HDC dc = ::GetDC(child);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, *format | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(child, dc);
    const SIZE need{needed.right - needed.left, needed.bottom - needed.top};
    const SIZE have{room.right - room.left, room.bottom - room.top};
    EXPECT_TRUE(need.cx <= have.cx && need.cy <= have.cy)
        << "control " << ::GetDlgCtrlID(child) << " \"" << text << "\" needs " << need.cx << "x" << need.cy
        << ", has " << have.cx << "x" << have.cy << ": " << what << " at " << ScreenDpi() << " DPI";
  }
  EXPECT_GE(measured, least) << what;
}

int ScreenDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

int ExpectedDpi() {
  const wchar_t* given = _wgetenv(L"DRAVIK_EXPECT_DPI");
  return given ? _wtoi(given) : 0;
}

void ExpectTheRunsDpi() {
  const int dpi = ExpectedDpi();
  EXPECT_TRUE(dpi == 0 || ScreenDpi() == dpi) << "the screen resolution was not applied: " << ScreenDpi();
}

}  // namespace testsupport
