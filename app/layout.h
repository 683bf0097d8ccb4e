#pragma once
// The main window's geometry. Its sizes are kept in twips (1/1440 inch) so the
// window has the same physical proportions at every screen resolution; the
// design widths of columns and status panels are in 1/100 mm.
#include <vector>

#include "ui/commands.h"
#include "ui/pixel_rect.h"
#include "platform/registry.h"

namespace dravik {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kHundredthMmPerInch = 2540.0;

// Smallest and default outer size of the main window, in twips.
inline constexpr double kMinimumWindowWidth = 11415;
inline constexpr double kMinimumWindowHeight = 8820;

// Design-time positions, in twips, of the elements the layout never moves.
inline constexpr double kToolbarHeight = 420;
inline constexpr double kTabStripLeft = 45;
inline constexpr double kTabStripTop = 480;
inline constexpr double kPageLeft = 100;
inline constexpr double kPageTop = 840;
inline constexpr double kPageOutside = -20000;  // where unselected pages wait
// The size the window is centred for when it is created (client area).
inline constexpr double kDesignClientWidth = 11265;
inline constexpr double kDesignClientHeight = 8010;

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Where a new window of `width` x `height` pixels (outer size) goes on the work
// area: centred along each side it fits; along a side where it is larger, at
// the work area's left or top edge, so its caption can always be reached.
PixelPoint PlaceOnWorkArea(int width, int height, const PixelRect& workArea);

// Pixel <-> twips for one axis of a screen with `dotsPerInch` pixels per inch.
class TwipsScale {
 public:
  explicit TwipsScale(int dotsPerInch) : dpi_(dotsPerInch > 0 ? dotsPerInch : 96) {}
  double twipsPerPixel() const { return kTwipsPerInch / dpi_; }
  double toTwips(int pixels) const { return pixels * twipsPerPixel(); }
  int toPixels(double twips) const;
  // The fewest whole pixels that cover `twips`: a minimum size must not round
  // below itself, or enforcing it would never settle.
  int toPixelsAtLeast(double twips) const;
  // A design width in 1/100 mm on this screen.
  int hundredthMmToPixels(double hundredthMm) const;

 private:
  int dpi_;
};

// "1" under the theme manager's key means visual styles are on; anything else
// (absent included) is the classic look, which needs smaller margins.
bool ThemeActive(platform::Registry& registry);

// An outer window size in twips.
struct WindowSize {
  double width = 0;
  double height = 0;
  bool operator==(const WindowSize&) const = default;
};

// Sizes of the tab strip, the pages and the lists for an outer window size,
// all in twips and unrounded.
struct MainLayout {
  double tabWidth = 0;
  double tabHeight = 0;
  double pageWidth = 0;
  double pageHeight = 0;
  double listWidth = 0;
  double listHeight = 0;
};
MainLayout ComputeLayout(WindowSize window, double statusBarHeight, bool themeActive);

// The column widths in pixels that a resize gives a list: each column with a
// page fraction, in column order (1-based columns).
struct ColumnWidth {
  int column;
  int pixels;
};
std::vector<ColumnWidth> FractionWidths(Tab list, double pageWidthTwips, const TwipsScale& scale);

}  // namespace dravik
