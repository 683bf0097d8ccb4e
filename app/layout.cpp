#include "app/layout.h"

#include <cmath>

#include "app/settings.h"

namespace dravik {

namespace {

constexpr wchar_t kThemeManagerKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

// Margins between the window's outer edge and the tab strip, and between the
// tab strip and its pages (the tabs themselves and the strip's border).
constexpr double kStyledWidthMargin = 250;
constexpr double kStyledHeightMargin = 1320;
constexpr double kClassicWidthMargin = 200;
constexpr double kClassicHeightMargin = 1220;
constexpr double kPageWidthMargin = 160;
constexpr double kPageHeightMargin = 420;
constexpr double kListHeightMargin = 20;

constexpr ColumnFraction kAppsFractions[] = {{1, 0.55}, {2, 0.2}, {3, 0}, {4, 0.1}};
constexpr ColumnFraction kProcessFractions[] = {{1, 0.15}, {4, 0.25}};
constexpr ColumnFraction kServiceFractions[] = {{1, 0.18}, {2, 0.13}, {4, 0.08}, {5, 0.2}, {6, 0.12}};
constexpr ColumnFraction kNetworkFractions[] = {{1, 0.12}, {3, 0.12}, {4, 0.09},
                                                {5, 0.12}, {6, 0.09}, {8, 0.3}};

}  // namespace

int TwipsScale::toPixels(double twips) const {
  return static_cast<int>(std::lround(twips / twipsPerPixel()));
}

int TwipsScale::toPixelsAtLeast(double twips) const {
  return static_cast<int>(std::ceil(twips / twipsPerPixel() - 1e-9));
}

int TwipsScale::hundredthMmToPixels(double hundredthMm) const {
  return static_cast<int>(std::lround(hundredthMm * dpi_ / kHundredthMmPerInch));
}

PixelPoint PlaceOnWorkArea(int width, int height, const PixelRect& workArea) {
  const auto place = [](int start, int room, int size) {
    return size > room ? start : start + (room - size) / 2;
  };
  return {place(workArea.left, workArea.width(), width), place(workArea.top, workArea.height(), height)};
}

bool ThemeActive(platform::Registry& registry) {
  return RegReadString(registry, platform::RegistryRoot::CurrentUser, kThemeManagerKey,
                       L"ThemeActive") == L"1";
}

MainLayout ComputeLayout(WindowSize window, double statusBarHeight, bool themeActive) {
  MainLayout layout;
  const double widthMargin = themeActive ? kStyledWidthMargin : kClassicWidthMargin;
  const double heightMargin = themeActive ? kStyledHeightMargin : kClassicHeightMargin;
  layout.tabWidth = window.width - widthMargin;
  layout.tabHeight = window.height - (statusBarHeight + heightMargin);
  layout.pageWidth = layout.tabWidth - kPageWidthMargin;
  layout.pageHeight = layout.tabHeight - kPageHeightMargin;
  layout.listWidth = layout.pageWidth;
  layout.listHeight = layout.pageHeight - kListHeightMargin;
  return layout;
}

std::span<const ColumnFraction> ColumnFractions(Tab list) {
  switch (list) {
    case Tab::Tasks: return kAppsFractions;
    case Tab::Processes: return kProcessFractions;
    case Tab::Services: return kServiceFractions;
    case Tab::Network: return kNetworkFractions;
  }
  return {};
}

std::array<ColumnWidth, 6> FractionWidths(Tab list, double pageWidthTwips,
                                          const TwipsScale& scale, int& count) {
  std::array<ColumnWidth, 6> widths{};
  count = 0;
  for (const ColumnFraction& f : ColumnFractions(list)) {
    const double twips = f.fraction * pageWidthTwips;
    widths[count++] = {f.column, twips > 0 ? scale.toPixels(twips) : 0};
  }
  return widths;
}

}  // namespace dravik
