#include "shell/tray_mouse.h"

namespace dravik {

namespace {
// Win32 mouse message numbers; this file must not depend on <windows.h>.
constexpr unsigned kLeftButtonUp = 0x202;
constexpr unsigned kLeftButtonDoubleClick = 0x203;
constexpr unsigned kRightButtonUp = 0x205;
}  // namespace

TrayAction TrayActionFor(unsigned mouseMessage) {
  switch (mouseMessage) {
    case kLeftButtonUp:
    case kLeftButtonDoubleClick: return TrayAction::RestoreMainWindow;
    case kRightButtonUp: return TrayAction::ShowMenu;
    default: return TrayAction::Nothing;
  }
}

}  // namespace dravik
