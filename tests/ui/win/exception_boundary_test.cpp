// The exception boundary under the program's windows, with real windows and
// real message boxes: an exception that reaches a window procedure is
// reported once in the "Warning" box and the window goes on answering.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/win/ui_test_support.h"
#include "ui/win/window_object.h"

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

constexpr UINT kThrow = WM_APP + 7;

// A window whose handling of kThrow fails every time.
struct Thrower {
  HWND window_ = nullptr;
  int attempts = 0;
};

LRESULT CALLBACK ThrowerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return dravik::DispatchToObject(window, message, wParam, lParam, &Thrower::window_, L"Thrower", [&](Thrower& self) {
    if (message != kThrow) return ::DefWindowProcW(window, message, wParam, lParam);
    ++self.attempts;
    throw std::runtime_error("boom");
  });
}

TEST(ExceptionBoundary, AnExceptionInAWindowIsReportedOnceAndTheWindowGoesOn) {
  const WNDCLASSW cls{
      .lpfnWndProc = &ThrowerProc, .hInstance = ::GetModuleHandleW(nullptr), .lpszClassName = L"DravikThrowingWindow"};
  ::RegisterClassW(&cls);
  Thrower thrower;
  HWND window = ::CreateWindowExW(0, cls.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  cls.hInstance, &thrower);
  ASSERT_TRUE(window) << "no window could be made (no display?)";

  testsupport::MessageBoxAnswerer first(IDOK);
  EXPECT_EQ(::SendMessageW(window, kThrow, 0, 0), 0);
  ASSERT_TRUE(first.finish()) << "no report of the exception";
  EXPECT_EQ(first.title(), L"Warning");
  EXPECT_EQ(first.text(), L"0:Error in Thrower.  Error Message: boom");

  // The same routine failing again goes unreported; the window still answers.
  testsupport::MessageBoxAnswerer second(IDOK, nullptr, std::chrono::milliseconds(1500));
  ::SendMessageW(window, kThrow, 0, 0);
  EXPECT_FALSE(second.finish()) << "a second box for the same routine";
  EXPECT_EQ(thrower.attempts, 2);
  EXPECT_EQ(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_TRUE(::DestroyWindow(window));
  EXPECT_EQ(thrower.window_, nullptr) << "the object kept a destroyed window";
}

}  // namespace
