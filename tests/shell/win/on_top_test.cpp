// Topmost on and off for a real window under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell/win/on_top.h"

namespace {

TEST(OnTop, MakesAWindowTopmostAndNormalWithoutMovingIt) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"on top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                  50, 200, 100, nullptr, nullptr, nullptr, nullptr);
  dravik::OnTop onTop;
  onTop.MakeTopMost(window);
  EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  onTop.MakeNormal(window);
  EXPECT_FALSE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT after{};
  ::GetWindowRect(window, &after);
  EXPECT_TRUE(after.left == 40 && after.top == 50 && after.right == 240 && after.bottom == 150);
  ::DestroyWindow(window);
}

}  // namespace
