#include "app/layout.h"

#include <gtest/gtest.h>

#include "app/window_size.h"
#include "doubles/fake_registry.h"

namespace {

using namespace dravik;

TEST(TwipsScale, ConvertsWithTheScreensOwnResolution) {
  EXPECT_EQ(TwipsScale(144).hundredthMmToPixels(2540), 144);  // one inch
  EXPECT_EQ(TwipsScale(96).hundredthMmToPixels(2), 0);  // the hidden column stays closed
  // At 120 DPI the minimum width is 951.25 pixels: 951 would be below it again.
  EXPECT_EQ(TwipsScale(120).toPixelsAtLeast(11415), 952);
  EXPECT_DOUBLE_EQ(TwipsScale(0).twipsPerPixel(), 15.0);  // no resolution reported: 96
}

// The larger case, where the top-left is the work area's, is shown at each DPI on the real window.
TEST(Layout, ANewWindowIsCentredOnTheWorkAreaEachSideOnItsOwn) {
  const PixelRect screen{100, 50, 1124, 818};  // a taskbar on the left and at the top
  EXPECT_EQ(PlaceOnWorkArea(601, 401, screen), (PixelPoint{311, 233}));  // halves truncated
  EXPECT_EQ(PlaceOnWorkArea(1200, 400, screen), (PixelPoint{100, 234}));
}

TEST(Layout, OnlyExactlyOneOfTheUsersHiveMeansStylesAreActive) {
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  fakes::FakeRegistry registry;
  registry.setString(platform::RegistryRoot::LocalMachine, key, L"ThemeActive", L"1");
  for (const wchar_t* value : {L"0", L"1 ", L"1"}) {
    registry.setString(platform::RegistryRoot::CurrentUser, key, L"ThemeActive", value);
    EXPECT_EQ(ThemeActive(registry), std::wstring(value) == L"1") << value;
  }
}

TEST(Layout, ColumnFractionsFollowThePageWidth) {
  struct Row {
    Tab list;
    int dpi, index, column, pixels;
  };
  // A page of 15000 twips: 1000 pixels at 96 DPI, 1500 at 144.
  const Row rows[] = {{Tab::Tasks, 96, 0, 1, 550},      {Tab::Tasks, 96, 2, 3, 0},
                      {Tab::Services, 96, 4, 6, 120},   {Tab::Network, 144, 5, 8, 450}};
  for (const Row& r : rows) {
    const auto widths = FractionWidths(r.list, 15000, TwipsScale(r.dpi));
    EXPECT_EQ(widths[r.index].column, r.column) << static_cast<int>(r.list) << " " << r.index;
    EXPECT_EQ(widths[r.index].pixels, r.pixels) << static_cast<int>(r.list) << " " << r.index;
  }
}

// Sizes that are not numbers at all are started on by the real program in win/program_test.cpp.
TEST(WindowSize, ABrokenStoredSizeGetsTheDefaultWrittenBack) {
  EXPECT_FALSE(ParseStoredSize(L"99999999").has_value());
  fakes::FakeRegistry registry;
  Settings settings(registry);
  settings.write(kSettingHeight, L"12a");
  settings.write(kSettingWidth, L" 13000 ");
  EXPECT_EQ(LoadWindowSize(settings), (WindowSize{13000, 8820}));
  EXPECT_EQ(settings.read(kSettingHeight), L"8820");
  SaveWindowSize(settings, {12345.4, 9000.6});
  EXPECT_EQ(LoadWindowSize(settings), (WindowSize{12345, 9001}));
}

}  // namespace
