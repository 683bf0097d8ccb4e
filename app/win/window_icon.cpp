#include "app/win/window_icon.h"

namespace dravik {

namespace {

void SendIcon(HWND window, HWND owner, WPARAM which, int widthMetric, int heightMetric,
              const wchar_t* name) {
  // Shared images belong to the system's cache and are never destroyed.
  auto icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON,
                                              ::GetSystemMetrics(widthMetric),
                                              ::GetSystemMetrics(heightMetric), LR_SHARED));
  if (!icon) return;
  if (owner) ::SendMessageW(owner, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  ::SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

}  // namespace

void SetIcon(HWND window, const wchar_t* name, bool setAsAppIcon) {
  HWND owner = nullptr;
  if (setAsAppIcon) {
    for (HWND next = window; next; next = ::GetWindow(next, GW_OWNER)) owner = next;
  }
  SendIcon(window, owner, ICON_BIG, SM_CXICON, SM_CYICON, name);
  SendIcon(window, owner, ICON_SMALL, SM_CXSMICON, SM_CYSMICON, name);
}

}  // namespace dravik
