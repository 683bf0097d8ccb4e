#pragma once
// A column of one of the main window's lists: how it is created, labelled
// and widened with the page.

namespace dravik {

// The column keeps the width it was given when the page changes size.
inline constexpr double kFixedWidth = -1;

struct ListColumn {
  const wchar_t* header;  // the text before a language is applied
  const char* key;        // section "Main"; null for a header no language changes
  int widthHundredthMm;   // when the list is made
  bool rightAligned;      // figures line up on their last digit
  double pageFraction = kFixedWidth;  // its share of the page's width after a resize
};

}  // namespace dravik
