#include "shell/win/on_top.h"

namespace dravik {

void OnTop::MakeTopMost(HWND window) const {
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void OnTop::MakeNormal(HWND window) const {
  ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace dravik
