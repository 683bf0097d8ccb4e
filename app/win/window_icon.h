#pragma once
#include <windows.h>

namespace dravik {

// Gives `window` the large and small icons of the resource `name` of the
// program's own module; with `setAsAppIcon` also its top-level owner, whose
// icons the task switcher and the taskbar show. A missing resource leaves the
// default icon.
void SetIcon(HWND window, const wchar_t* name, bool setAsAppIcon = false);

}  // namespace dravik
