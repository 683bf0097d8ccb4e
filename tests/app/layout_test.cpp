#include "app/layout.h"

#include <gtest/gtest.h>

#include "app/window_size.h"
#include "doubles/fake_registry.h"

namespace {

using namespace dravik;
using platform::RegistryRoot;

constexpr wchar_t kThemeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

TEST(TwipsScale, ConvertsWithTheScreensOwnResolution) {
  const TwipsScale normal(96), large(144);
  EXPECT_DOUBLE_EQ(normal.twipsPerPixel(), 15.0);
  EXPECT_DOUBLE_EQ(large.twipsPerPixel(), 10.0);
  // The default window: 761 x 588 pixels at 96 DPI, half as big again at 144.
  EXPECT_EQ(normal.toPixels(11415), 761);
  EXPECT_EQ(normal.toPixels(8820), 588);
  EXPECT_EQ(large.toPixels(11415), 1142);  // 1141.5 rounds up
  EXPECT_EQ(large.toPixels(8820), 882);
  EXPECT_DOUBLE_EQ(normal.toTwips(761), 11415);
  EXPECT_DOUBLE_EQ(large.toTwips(882), 8820);
  // 2540 hundredths of a millimetre are one inch.
  EXPECT_EQ(normal.hundredthMmToPixels(2540), 96);
  EXPECT_EQ(large.hundredthMmToPixels(2540), 144);
  EXPECT_EQ(normal.hundredthMmToPixels(1411), 53);
  EXPECT_EQ(normal.hundredthMmToPixels(2), 0);  // the hidden column stays closed
  // At 120 DPI (12 twips a pixel) the minimum width is 951.25 pixels: 951
  // would be below it again, so the snap goes to 952.
  EXPECT_EQ(TwipsScale(120).toPixelsAtLeast(11415), 952);
  EXPECT_GE(TwipsScale(120).toTwips(TwipsScale(120).toPixelsAtLeast(11415)), 11415);
  EXPECT_EQ(normal.toPixelsAtLeast(11415), 761);
  EXPECT_EQ(large.toPixelsAtLeast(8820), 882);
  // A device that reports no resolution is treated as the usual 96.
  EXPECT_DOUBLE_EQ(TwipsScale(0).twipsPerPixel(), 15.0);
}

TEST(Layout, MinimumSizeSnapsEachSideOnItsOwn) {
  EXPECT_EQ(SnapToMinimum({5000, 3000}), (WindowSize{11415, 8820}));
  EXPECT_EQ(SnapToMinimum({12000, 3000}), (WindowSize{12000, 8820}));
  EXPECT_EQ(SnapToMinimum({5000, 9000}), (WindowSize{11415, 9000}));
  EXPECT_EQ(SnapToMinimum({11415, 8820}), (WindowSize{11415, 8820}));
  EXPECT_EQ(SnapToMinimum({-100, -1}), (WindowSize{11415, 8820}));
}

TEST(Layout, DefaultSizeWithAndWithoutVisualStyles) {
  const double statusBar = 375;
  const MainLayout styled = ComputeLayout({11415, 8820}, statusBar, true);
  EXPECT_DOUBLE_EQ(styled.tabWidth, 11415 - 250);
  EXPECT_DOUBLE_EQ(styled.tabHeight, 8820 - (375 + 1320));
  EXPECT_DOUBLE_EQ(styled.pageWidth, styled.tabWidth - 160);
  EXPECT_DOUBLE_EQ(styled.pageHeight, styled.tabHeight - 420);
  EXPECT_DOUBLE_EQ(styled.listWidth, styled.pageWidth);
  EXPECT_DOUBLE_EQ(styled.listHeight, styled.pageHeight - 20);

  const MainLayout classic = ComputeLayout({11415, 8820}, statusBar, false);
  EXPECT_DOUBLE_EQ(classic.tabWidth - styled.tabWidth, 50);
  EXPECT_DOUBLE_EQ(classic.tabHeight - styled.tabHeight, 100);
  EXPECT_DOUBLE_EQ(classic.pageWidth - styled.pageWidth, 50);
  // A taller status bar takes its height from the tab strip.
  EXPECT_DOUBLE_EQ(ComputeLayout({11415, 8820}, 500, true).tabHeight, styled.tabHeight - 125);
}

TEST(Layout, OnlyExactlyOneMeansStylesAreActive) {
  fakes::FakeRegistry registry;
  EXPECT_FALSE(ThemeActive(registry));  // absent
  for (const wchar_t* value : {L"0", L"", L"01", L"1 ", L"true"}) {
    registry.setString(RegistryRoot::CurrentUser, kThemeKey, L"ThemeActive", value);
    EXPECT_FALSE(ThemeActive(registry)) << value;
  }
  registry.setString(RegistryRoot::CurrentUser, kThemeKey, L"ThemeActive", L"1");
  EXPECT_TRUE(ThemeActive(registry));
  // The machine-wide hive does not count.
  fakes::FakeRegistry machineOnly;
  machineOnly.setString(RegistryRoot::LocalMachine, kThemeKey, L"ThemeActive", L"1");
  EXPECT_FALSE(ThemeActive(machineOnly));
}

TEST(Layout, ColumnFractionsFollowThePageWidth) {
  const TwipsScale scale(96);
  const double page = 15000;  // 1000 pixels
  int count = 0;
  auto apps = FractionWidths(ListId::Apps, page, scale, count);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(apps[0].column, 1);
  EXPECT_EQ(apps[0].pixels, 550);
  EXPECT_EQ(apps[1].pixels, 200);
  EXPECT_EQ(apps[2].column, 3);
  EXPECT_EQ(apps[2].pixels, 0);  // the handle column is closed at every resize
  EXPECT_EQ(apps[3].pixels, 100);

  auto processes = FractionWidths(ListId::Processes, page, scale, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(processes[1].column, 4);
  EXPECT_EQ(processes[1].pixels, 250);

  auto services = FractionWidths(ListId::Services, page, scale, count);
  ASSERT_EQ(count, 5);
  EXPECT_EQ(services[4].column, 6);
  EXPECT_EQ(services[4].pixels, 120);

  auto network = FractionWidths(ListId::Network, page, scale, count);
  ASSERT_EQ(count, 6);
  EXPECT_EQ(network[5].column, 8);
  EXPECT_EQ(network[5].pixels, 300);
  // At 144 DPI the same page is 1500 pixels wide and the columns grow with it.
  EXPECT_EQ(FractionWidths(ListId::Network, page, TwipsScale(144), count)[5].pixels, 450);
  // A page squeezed below nothing gives closed columns, not negative widths.
  EXPECT_EQ(FractionWidths(ListId::Apps, -500, scale, count)[0].pixels, 0);
}

class WindowSizeTest : public ::testing::Test {
 protected:
  std::wstring stored(const wchar_t* name) { return settings_.read(name); }
  fakes::FakeRegistry registry_;
  Settings settings_{registry_};
};

TEST_F(WindowSizeTest, StoredSizesAreWholeNumbersOfTwips) {
  EXPECT_EQ(ParseStoredSize(L"8820"), 8820);
  EXPECT_EQ(ParseStoredSize(L" 12000 "), 12000);
  EXPECT_EQ(ParseStoredSize(L"-15"), -15);
  for (const wchar_t* bad : {L"", L"   ", L"abc", L"12a", L"1.5", L"-", L"99999999", L"8 820"}) {
    EXPECT_FALSE(ParseStoredSize(bad).has_value()) << bad;
  }
}

TEST_F(WindowSizeTest, AbsentOrBrokenValuesGetTheDefaultWrittenBack) {
  EXPECT_EQ(LoadWindowSize(settings_), (WindowSize{11415, 8820}));
  EXPECT_EQ(stored(kSettingHeight), L"8820");
  EXPECT_EQ(stored(kSettingWidth), L"11415");

  settings_.write(kSettingHeight, L"tall");
  settings_.write(kSettingWidth, L"13000");
  EXPECT_EQ(LoadWindowSize(settings_), (WindowSize{13000, 8820}));
  EXPECT_EQ(stored(kSettingHeight), L"8820");
  EXPECT_EQ(stored(kSettingWidth), L"13000");

  SaveWindowSize(settings_, {12345.4, 9000.6});
  EXPECT_EQ(stored(kSettingWidth), L"12345");
  EXPECT_EQ(stored(kSettingHeight), L"9001");
  EXPECT_EQ(LoadWindowSize(settings_), (WindowSize{12345, 9001}));
}

}  // namespace
