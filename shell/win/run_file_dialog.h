#pragma once
// The shell's Run dialog, opened for the program and given its title, icon
// and prompt.
#include <windows.h>

#include <string>

#include "shell/run_dialog.h"

namespace dravik {

// The toolbar's Run button: opens the shell's Run dialog through the shell's
// automation object and restyles it once it appears; where the shell cannot
// open it that way, opens it directly with the title, icon and prompt.
// `owner` 0 with x, y at -1 leaves the dialog where the shell puts it.
void ShowRunDialog(HWND owner, int x, int y, HICON icon, const std::wstring& title,
                   const std::wstring& prompt);

// The shell's Run-file dialog itself (empty texts keep the shell's own). It
// is modal, so it runs on a thread of its own and this returns at once: the
// program's window goes on refreshing while the dialog is up.
void RunFileDialog(HWND owner, HICON icon, const std::wstring& title, const std::wstring& prompt,
                   const std::wstring& folder);

// Looks, once per timer tick, for the shell's dialog titled "Run" and restyles
// it from the stored request; gives up after ten ticks without it.
void StartRunDialogSearch(const RunDialogRequest& request);

// The request the search works from (kept between the call and the timer).
const RunDialogRequest& StoredRunDialogRequest();

}  // namespace dravik
