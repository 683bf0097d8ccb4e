#include "app/layout.h"

#include <gtest/gtest.h>

#include "app/window_size.h"
#include "doubles/fake_registry.h"

namespace {

using namespace dravik;

TEST(TwipsScale, ConvertsWithTheScreensOwnResolution) {
  const TwipsScale large(144);
  EXPECT_EQ(TwipsScale(96).toPixels(11415), 761);
  EXPECT_EQ(large.toPixels(11415), 1142);  // 1141.5 rounds up
  EXPECT_DOUBLE_EQ(large.toTwips(882), 8820);
  EXPECT_EQ(large.hundredthMmToPixels(2540), 144);  // one inch
  EXPECT_EQ(TwipsScale(96).hundredthMmToPixels(2), 0);  // the hidden column stays closed
  // At 120 DPI the minimum width is 951.25 pixels: 951 would be below it again.
  EXPECT_EQ(TwipsScale(120).toPixelsAtLeast(11415), 952);
  EXPECT_DOUBLE_EQ(TwipsScale(0).twipsPerPixel(), 15.0);  // no resolution reported: 96
}

TEST(Layout, ANewWindowIsCentredOnTheWorkAreaUnlessItIsLargerWhenItsTopLeftIsTheWorkAreas) {
  const PixelRect screen{100, 50, 1124, 818};  // a taskbar on the left and at the top
  EXPECT_EQ(PlaceOnWorkArea(1142, 882, screen), (PixelPoint{100, 50}));  // the caption stays on the screen
  EXPECT_EQ(PlaceOnWorkArea(601, 401, screen), (PixelPoint{311, 233}));  // halves truncated
  EXPECT_EQ(PlaceOnWorkArea(1200, 400, screen), (PixelPoint{100, 234}));  // each side on its own
  EXPECT_EQ(PlaceOnWorkArea(600, 900, screen), (PixelPoint{312, 50}));
}

TEST(Layout, VisualStylesWidenTheMarginsAndATallerStatusBarTakesItsHeight) {
  const MainLayout styled = ComputeLayout({11415, 8820}, 375, true), classic = ComputeLayout({11415, 8820}, 375, false);
  EXPECT_DOUBLE_EQ(styled.listWidth, 11415 - 250 - 160);
  EXPECT_DOUBLE_EQ(styled.listHeight, 8820 - 375 - 1320 - 440);
  EXPECT_DOUBLE_EQ(classic.listWidth, 11415 - 200 - 160);
  EXPECT_DOUBLE_EQ(classic.listHeight, 8820 - 375 - 1220 - 440);
  EXPECT_DOUBLE_EQ(ComputeLayout({11415, 8820}, 500, true).listHeight, styled.listHeight - 125);
}

TEST(Layout, OnlyExactlyOneOfTheUsersHiveMeansStylesAreActive) {
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  fakes::FakeRegistry registry;
  EXPECT_FALSE(ThemeActive(registry));  // absent
  registry.setString(platform::RegistryRoot::LocalMachine, key, L"ThemeActive", L"1");
  for (const wchar_t* value : {L"0", L"", L"1 ", L"true", L"1"}) {
    registry.setString(platform::RegistryRoot::CurrentUser, key, L"ThemeActive", value);
    EXPECT_EQ(ThemeActive(registry), std::wstring(value) == L"1") << value;
  }
}

TEST(Layout, ColumnFractionsFollowThePageWidth) {
  struct Row {
    Tab list;
    int dpi, count, index, column, pixels;
  };
  // A page of 15000 twips: 1000 pixels at 96 DPI, 1500 at 144.
  const Row rows[] = {{Tab::Tasks, 96, 4, 0, 1, 550},     {Tab::Tasks, 96, 4, 1, 2, 200},
                      {Tab::Tasks, 96, 4, 2, 3, 0},       {Tab::Tasks, 96, 4, 3, 4, 100},
                      {Tab::Processes, 96, 2, 1, 4, 250}, {Tab::Services, 96, 5, 4, 6, 120},
                      {Tab::Network, 96, 6, 5, 8, 300},  {Tab::Network, 144, 6, 5, 8, 450}};
  for (const Row& r : rows) {
    const auto widths = FractionWidths(r.list, 15000, TwipsScale(r.dpi));
    EXPECT_EQ(static_cast<int>(widths.size()), r.count) << static_cast<int>(r.list);
    EXPECT_EQ(widths[r.index].column, r.column) << static_cast<int>(r.list) << " " << r.index;
    EXPECT_EQ(widths[r.index].pixels, r.pixels) << static_cast<int>(r.list) << " " << r.index;
  }
  // A page squeezed below nothing gives closed columns.
  EXPECT_EQ(FractionWidths(Tab::Tasks, -500, TwipsScale(96))[0].pixels, 0);
}

TEST(WindowSize, StoredSizesAreWholeNumbersAndBrokenOnesGetTheDefaultWrittenBack) {
  EXPECT_EQ(ParseStoredSize(L" 12000 "), 12000);
  EXPECT_EQ(ParseStoredSize(L"-15"), -15);
  for (const wchar_t* bad : {L"", L"   ", L"abc", L"12a", L"1.5", L"-", L"99999999", L"8 820"}) {
    EXPECT_FALSE(ParseStoredSize(bad).has_value()) << bad;
  }
  fakes::FakeRegistry registry;
  Settings settings(registry);
  EXPECT_EQ(LoadWindowSize(settings), (WindowSize{11415, 8820}));
  EXPECT_EQ(settings.read(kSettingHeight), L"8820");
  EXPECT_EQ(settings.read(kSettingWidth), L"11415");
  settings.write(kSettingHeight, L"tall");
  settings.write(kSettingWidth, L"13000");
  EXPECT_EQ(LoadWindowSize(settings), (WindowSize{13000, 8820}));
  EXPECT_EQ(settings.read(kSettingHeight), L"8820");
  SaveWindowSize(settings, {12345.4, 9000.6});
  EXPECT_EQ(LoadWindowSize(settings), (WindowSize{12345, 9001}));
}

}  // namespace
