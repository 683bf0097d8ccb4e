#pragma once
// The shell's Run dialog dressed as the program's own: what it should look
// like, and where it goes once it has been found.
#include <cstdint>
#include <optional>
#include <string>

#include "ui/pixel_rect.h"

namespace dravik {

// Kept from the call that opens the dialog until the timer that restyles it.
struct RunDialogRequest {
  std::uintptr_t owner = 0;  // window to centre the dialog on; 0 for none
  int x = -1;                // position without an owner; -1 for none
  int y = -1;
  std::uintptr_t icon = 0;  // icon to put into the dialog; 0 for none
  std::wstring title;       // "" keeps the shell's title
  std::wstring prompt;      // "" keeps the shell's prompt
  std::uintptr_t timerId = 0;
  int retries = 0;
};

// The title the shell gives its Run dialog, by which the timer finds it.
inline constexpr wchar_t kShellRunDialogTitle[] = L"Run";
// Ticks without the dialog after which the search gives up.
inline constexpr int kRunDialogSearchTicks = 10;
inline constexpr unsigned kRunDialogTimerMs = 1;


// Where the found dialog goes, keeping its size: centred on the owner (each
// half truncated toward zero), else at (x, y) when both are set; nothing
// keeps the position the shell gave it. An owner whose rectangle cannot be
// read leaves the dialog where it is.
std::optional<PixelRect> RunDialogPlacement(const RunDialogRequest& request,
                                             const PixelRect& dialog,
                                             const std::optional<PixelRect>& owner);

// A tick in which the dialog was not found. True when the search ends now:
// the count is then back at 0 for the next opening.
bool RunDialogMissed(RunDialogRequest& request);

}  // namespace dravik
