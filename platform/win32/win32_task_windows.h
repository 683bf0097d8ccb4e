#pragma once
#include <windows.h>

#include "platform/window_manager.h"

namespace platform::win32 {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

class Win32TaskWindows final : public TaskWindows {
 public:
  bool exists(WindowHandle window) override;
  bool visible(WindowHandle window) override;
  WindowHandle parent(WindowHandle window) override;
  WindowHandle owner(WindowHandle window) override;
  std::uint32_t extendedStyle(WindowHandle window) override;
  std::wstring className(WindowHandle window) override;
  WindowHandle topWindow() override;
  WindowHandle nextWindow(WindowHandle window) override;
  void enumerate(const std::function<bool(WindowHandle)>& visit) override;
  std::optional<std::intptr_t> textLength(WindowHandle window, unsigned timeoutMs) override;
  std::optional<std::wstring> text(WindowHandle window, std::size_t bufferChars,
                                   unsigned timeoutMs) override;
  std::optional<IconHandle> messageIcon(WindowHandle window, bool small,
                                        unsigned timeoutMs) override;
  IconHandle classIcon(WindowHandle window, bool small) override;
  bool answers(WindowHandle window, unsigned timeoutMs) override;
  std::uint32_t processOf(WindowHandle window) override;
  bool postClose(WindowHandle window) override;
  bool minimized(WindowHandle window) override;
  void restore(WindowHandle window) override;
  void setForeground(WindowHandle window) override;
  WindowHandle foreground() override;
  IconHandle stockIcon(StockIcon which) override;
};

}  // namespace platform::win32
