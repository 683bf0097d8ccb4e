#pragma once
// What a mouse action on the notification-area icon does, and the language
// keys of its menu.

namespace dravik {

// The tray menu's two items, section "Tray".
inline constexpr char kTrayOpenKey[] = "1";
inline constexpr char kTrayExitKey[] = "2";

enum class TrayAction { Nothing, RestoreMainWindow, ShowMenu };

// By the mouse message the shell reports for the icon: a left click or a
// double click restores, a right click opens the menu; moves, presses and the
// middle button do nothing.
TrayAction TrayActionFor(unsigned mouseMessage);

}  // namespace dravik
