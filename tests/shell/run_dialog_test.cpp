#include "shell/run_dialog.h"

#include <gtest/gtest.h>

namespace {

using dravik::RunDialogPlacement;
using dravik::RunDialogRequest;
using dravik::PixelRect;
using Owner = std::optional<PixelRect>;

TEST(RunDialogPlacement, CentresOnTheOwnerElseUsesThePointWhenBothCoordinatesAreSet) {
  const struct { const char* name; std::uintptr_t owner; int x, y; PixelRect dialog; Owner ownerRect, expected; } rows[] = {
      // 100 + 761/2 - 347/2 = 307; 50 + 588/2 - 179/2 = 255
      {"centred", 0x1234, -1, -1, {500, 400, 847, 579}, PixelRect{100, 50, 861, 638},
       PixelRect{307, 255, 654, 434}},
      // halves truncate toward zero, also left of and above the screen
      {"odd sizes off screen", 1, -1, -1, {0, 0, 101, 51}, PixelRect{-301, -201, 0, 0},
       PixelRect{-201, -126, -100, -75}},
      {"owner wins over the point", 7, 5, 5, {0, 0, 100, 100}, PixelRect{0, 0, 400, 400},
       PixelRect{150, 150, 250, 250}},
      {"unreadable owner moves nothing", 7, 5, 5, {0, 0, 100, 100}, std::nullopt, std::nullopt},
      {"no owner, no point", 0, -1, -1, {10, 20, 110, 70}, std::nullopt, std::nullopt},
      {"no owner, y negative", 0, 300, -5, {10, 20, 110, 70}, std::nullopt, std::nullopt},
      {"no owner, point", 0, 0, 0, {10, 20, 110, 70}, std::nullopt, PixelRect{0, 0, 100, 50}},
  };
  for (const auto& row : rows) {
    RunDialogRequest request;
    request.owner = row.owner;
    request.x = row.x;
    request.y = row.y;
    EXPECT_EQ(RunDialogPlacement(request, row.dialog, row.ownerRect), row.expected) << row.name;
  }
}

TEST(RunDialogSearch, GivesUpAtTheTenthMissedTickAndStartsOverAfterwards) {
  RunDialogRequest request;
  for (int tick = 1; tick < 10; ++tick) EXPECT_FALSE(dravik::RunDialogMissed(request)) << tick;
  EXPECT_TRUE(dravik::RunDialogMissed(request));
  EXPECT_EQ(request.retries, 0);
  EXPECT_FALSE(dravik::RunDialogMissed(request));
  EXPECT_EQ(request.retries, 1);
}

}  // namespace
