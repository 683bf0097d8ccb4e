#pragma once
// What a mouse action on the notification-area icon does.

namespace dravik {

enum class TrayAction { Nothing, RestoreMainWindow, ShowMenu };

// By the mouse message the shell reports for the icon: a left click or a
// double click restores, a right click opens the menu; moves, presses and the
// middle button do nothing.
TrayAction TrayActionFor(unsigned mouseMessage);

}  // namespace dravik
