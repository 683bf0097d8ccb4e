#include "shell/run_dialog.h"

#include <gtest/gtest.h>

namespace {

using dravik::RunDialogPlacement;
using dravik::RunDialogRequest;
using dravik::ScreenRect;

TEST(RunDialogPlacement, CentresOnTheOwnerKeepingItsSize) {
  RunDialogRequest request;
  request.owner = 0x1234;
  const ScreenRect dialog{500, 400, 847, 579};  // 347 x 179
  const ScreenRect owner{100, 50, 861, 638};    // 761 x 588
  const auto placed = RunDialogPlacement(request, dialog, owner);
  ASSERT_TRUE(placed);
  // 100 + 380 - 173 = 307; 50 + 294 - 89 = 255
  EXPECT_EQ(*placed, (ScreenRect{307, 255, 654, 434}));
}

TEST(RunDialogPlacement, HalvesTruncateTowardZeroAlsoOffScreen) {
  RunDialogRequest request;
  request.owner = 1;
  // An owner partly left of and above the screen; odd sizes on both sides.
  const ScreenRect owner{-301, -201, 0, 0};  // 301 x 201: halves 150, 100
  const ScreenRect dialog{0, 0, 101, 51};    // halves 50, 25
  const auto placed = RunDialogPlacement(request, dialog, owner);
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->left, -301 + 150 - 50);
  EXPECT_EQ(placed->top, -201 + 100 - 25);
  EXPECT_EQ(placed->width(), 101);
  EXPECT_EQ(placed->height(), 51);
}

TEST(RunDialogPlacement, WithoutOwnerUsesThePointOnlyWhenBothCoordinatesAreSet) {
  RunDialogRequest request;
  const ScreenRect dialog{10, 20, 110, 70};
  EXPECT_FALSE(RunDialogPlacement(request, dialog, std::nullopt));  // -1, -1: the shell's place
  request.x = 0;
  EXPECT_FALSE(RunDialogPlacement(request, dialog, std::nullopt));
  request.y = 0;
  EXPECT_EQ(RunDialogPlacement(request, dialog, std::nullopt), (ScreenRect{0, 0, 100, 50}));
  request.x = 300;
  request.y = -5;
  EXPECT_FALSE(RunDialogPlacement(request, dialog, std::nullopt));
}

TEST(RunDialogPlacement, AnOwnerWinsOverThePointAndAnUnreadableOwnerMovesNothing) {
  RunDialogRequest request;
  request.owner = 7;
  request.x = 5;
  request.y = 5;
  const ScreenRect dialog{0, 0, 100, 100};
  EXPECT_EQ(RunDialogPlacement(request, dialog, ScreenRect{0, 0, 400, 400}),
            (ScreenRect{150, 150, 250, 250}));
  EXPECT_FALSE(RunDialogPlacement(request, dialog, std::nullopt));
}

TEST(RunDialogSearch, GivesUpAtTheTenthMissedTickAndStartsOverAfterwards) {
  RunDialogRequest request;
  for (int tick = 1; tick < dravik::kRunDialogSearchTicks; ++tick) {
    EXPECT_FALSE(dravik::RunDialogMissed(request)) << "tick " << tick;
    EXPECT_EQ(request.retries, tick);
  }
  EXPECT_TRUE(dravik::RunDialogMissed(request));
  EXPECT_EQ(request.retries, 0);
  EXPECT_FALSE(dravik::RunDialogMissed(request));
  EXPECT_EQ(request.retries, 1);
}

}  // namespace
