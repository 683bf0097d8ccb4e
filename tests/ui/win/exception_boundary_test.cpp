// The exception boundary under the program's windows, with real windows and
// real message boxes: an exception that reaches a window procedure is
// reported once in the "Warning" box and the window goes on answering.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>

#include "support/win/ui_test_support.h"
#include "ui/win/window_object.h"

namespace {

constexpr UINT kThrow = WM_APP + 7;
constexpr wchar_t kClass[] = L"DravikThrowingWindow";

// A window whose handling of kThrow fails every time.
struct Thrower {
  HWND window_ = nullptr;
  int attempts = 0;
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kThrow) {
      ++attempts;
      throw std::runtime_error("boom");
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
  }
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return dravik::DispatchToObject(window, message, wParam, lParam, &Thrower::window_, L"Thrower",
                                    [&](Thrower& self) { return self.handle(message, wParam, lParam); });
  }
};

TEST(ExceptionBoundary, AnExceptionInAWindowIsReportedOnceAndTheWindowGoesOn) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &Thrower::WindowProc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = kClass;
  ::RegisterClassExW(&cls);
  Thrower thrower;
  HWND window = ::CreateWindowExW(0, kClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
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

  // A system error gives its number.
  testsupport::MessageBoxAnswerer system(IDOK);
  const int result = platform::win32::Guarded(L"GetSysDir", -1, []() -> int {
    throw std::system_error(5, std::system_category(), "denied");
  });
  EXPECT_EQ(result, -1);
  ASSERT_TRUE(system.finish());
  EXPECT_EQ(system.text().rfind(L"5:Error in GetSysDir.  Error Message: denied", 0), 0u) << system.text();
}

}  // namespace
