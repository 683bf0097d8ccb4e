#pragma once
// The object behind a window: handed over as the creation parameter, kept in
// the window's user data, forgotten when the window goes.
#include <windows.h>

namespace dravik {

// The object of `window` for `message`: stored at WM_NCCREATE, dropped at
// WM_NCDESTROY (the object is still returned for that last message); null for
// messages that come before WM_NCCREATE.
template <class T>
T* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return self;
}

}  // namespace dravik
