#include "shell/tray_mouse.h"

#include <gtest/gtest.h>

namespace {

using dravik::TrayAction;
using dravik::TrayActionFor;

TEST(TrayMouse, ClicksRestoreRightClickOpensTheMenuEverythingElseIsIgnored) {
  EXPECT_EQ(TrayActionFor(0x202), TrayAction::RestoreMainWindow);  // left button up
  EXPECT_EQ(TrayActionFor(0x203), TrayAction::RestoreMainWindow);  // left double click
  EXPECT_EQ(TrayActionFor(0x205), TrayAction::ShowMenu);           // right button up
  // Moves, presses and the middle button do nothing; a press must not act
  // twice with its release.
  for (unsigned m : {0x200u, 0x201u, 0x204u, 0x206u, 0x207u, 0x208u, 0x209u, 0u, 0xFFFFu}) {
    EXPECT_EQ(TrayActionFor(m), TrayAction::Nothing) << m;
  }
}

}  // namespace
