#pragma once
// The columns of the four lists as they are created: header, language key,
// design width and alignment.
#include <span>

#include "app/layout.h"

namespace dravik {

struct ListColumn {
  const wchar_t* header;  // the text before a language is applied
  const char* key;        // section "Main"; null for a header no language changes
  int widthHundredthMm;
  bool rightAligned;      // figures line up on their last digit
};

std::span<const ListColumn> ListColumns(Tab list);

// The Tasks list's zero-width column that carries the window handle; the user
// must never be able to drag it open (1-based 3, 0-based header item 2).
inline constexpr int kHiddenHandleColumn = 3;

}  // namespace dravik
