#pragma once
// A part of the screen in pixels, as the layout rules work with it.

namespace dravik {

// Right and bottom lie just outside it.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

}  // namespace dravik
