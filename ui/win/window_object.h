#pragma once
// The object behind a window: handed over as the creation parameter, kept in
// the window's user data, forgotten when the window goes.
#include <windows.h>

#include "platform/win32/exception_boundary.h"

namespace dravik {

// The object of `window`, with its `handle` member kept pointing at the window:
// stored at WM_NCCREATE; null before that and from WM_NCDESTROY on, when the
// handle is cleared and the message is left to the default handling.
template <class T>
T* WindowObject(HWND window, UINT message, LPARAM lParam, HWND T::*handle) {
  if (message == WM_NCCREATE) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return nullptr;
  self->*handle = message == WM_NCDESTROY ? nullptr : window;
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return message == WM_NCDESTROY ? nullptr : self;
}

// The window procedure of an object bound to its window: `handle` answers
// every message the object sees, behind the exception boundary, which
// answers 0 for a message whose handling threw.
template <class T, class Handle>
LRESULT DispatchToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND T::*windowMember,
                         const wchar_t* routine, Handle handle) {
  T* self = WindowObject(window, message, lParam, windowMember);
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  return platform::win32::Guarded(routine, LRESULT{0}, [&] { return handle(*self); });
}

}  // namespace dravik
