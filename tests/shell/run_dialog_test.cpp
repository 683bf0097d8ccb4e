#include "shell/run_dialog.h"

#include <gtest/gtest.h>

namespace {

using dravik::PixelRect;
using Owner = std::optional<PixelRect>;

// Centring on a real owner is the Wine test's; here what it cannot stage.
TEST(RunDialogPlacement, CentresOnTheOwnerElseUsesThePointWhenBothCoordinatesAreSet) {
  const struct { const char* name; std::uintptr_t owner; int x, y; Owner ownerRect, expected; } rows[] = {
      // halves truncate toward zero, also left of and above the screen
      {"owner wins over the point", 1, 5, 5, PixelRect{-301, -201, 0, 0}, PixelRect{-201, -126, -100, -75}},
      {"unreadable owner moves nothing", 7, 5, 5, std::nullopt, std::nullopt},
      {"no owner, y negative", 0, 300, -5, std::nullopt, std::nullopt},
      {"no owner, point", 0, 0, 0, std::nullopt, PixelRect{0, 0, 101, 51}},
  };
  for (const auto& row : rows) {
    dravik::RunDialogRequest request;
    request.owner = row.owner;
    request.x = row.x;
    request.y = row.y;
    EXPECT_EQ(dravik::RunDialogPlacement(request, {0, 0, 101, 51}, row.ownerRect), row.expected) << row.name;
  }
}

TEST(RunDialogSearch, GivesUpAtTheTenthMissedTickAndStartsOverAfterwards) {
  dravik::RunDialogRequest request;
  for (int tick = 1; tick < 10; ++tick) EXPECT_FALSE(dravik::RunDialogMissed(request)) << tick;
  EXPECT_TRUE(dravik::RunDialogMissed(request));
  EXPECT_FALSE(dravik::RunDialogMissed(request));
  EXPECT_EQ(request.retries, 1);
}

}  // namespace
