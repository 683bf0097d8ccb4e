#include "app/layout.h"

#include <cmath>

#include "app/tab_descriptions.h"
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

std::vector<ColumnWidth> FractionWidths(Tab list, double pageWidthTwips, const TwipsScale& scale) {
  std::vector<ColumnWidth> widths;
  int column = 0;
  for (const ListColumn& c : ListColumns(list)) {
    ++column;
    if (c.pageFraction == kFixedWidth) continue;
    const double twips = c.pageFraction * pageWidthTwips;
    widths.push_back({column, twips > 0 ? scale.toPixels(twips) : 0});
  }
  return widths;
}

}  // namespace dravik
