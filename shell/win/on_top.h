#pragma once
// Keeps a window above all others, or lets it fall back among them, without
// moving or sizing it.
#include <windows.h>

namespace dravik {

class OnTop {
 public:
  void MakeTopMost(HWND window) const;
  void MakeNormal(HWND window) const;
};

}  // namespace dravik
