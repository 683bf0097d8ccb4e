#include "platform/win32/win32_task_windows.h"

#include <vector>

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

// A timed message that cannot block: a window whose thread is hung, or that
// the system already counts as hung, makes the call fail instead.
std::optional<LRESULT> SendTimed(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam,
                                 unsigned timeoutMs) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(ToHwnd(window), message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs,
                             &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

bool Win32TaskWindows::exists(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != 0; }

bool Win32TaskWindows::visible(WindowHandle window) {
  return ::IsWindowVisible(ToHwnd(window)) != 0;
}

WindowHandle Win32TaskWindows::parent(WindowHandle window) {
  return FromHwnd(::GetParent(ToHwnd(window)));
}

WindowHandle Win32TaskWindows::owner(WindowHandle window) {
  // The pointer-sized read: the 32-bit one fails for every window in 64-bit processes.
  return static_cast<WindowHandle>(::GetWindowLongPtrW(ToHwnd(window), GWLP_HWNDPARENT));
}

std::uint32_t Win32TaskWindows::extendedStyle(WindowHandle window) {
  return static_cast<std::uint32_t>(::GetWindowLongW(ToHwnd(window), GWL_EXSTYLE));
}

std::wstring Win32TaskWindows::className(WindowHandle window) {
  wchar_t name[256];
  const int length = ::GetClassNameW(ToHwnd(window), name, 256);
  return length > 0 ? std::wstring(name, static_cast<std::size_t>(length)) : std::wstring();
}

WindowHandle Win32TaskWindows::topWindow() { return FromHwnd(::GetTopWindow(nullptr)); }

WindowHandle Win32TaskWindows::nextWindow(WindowHandle window) {
  return FromHwnd(::GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

namespace {

// A plain function: the 32-bit calling convention of the callback rules out a lambda.
BOOL CALLBACK VisitTopWindow(HWND window, LPARAM data) {
  const auto& visit = *reinterpret_cast<const std::function<bool(WindowHandle)>*>(data);
  return visit(FromHwnd(window)) ? TRUE : FALSE;
}

}  // namespace

void Win32TaskWindows::enumerate(const std::function<bool(WindowHandle)>& visit) {
  ::EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&visit));
}

std::optional<std::intptr_t> Win32TaskWindows::textLength(WindowHandle window, unsigned timeoutMs) {
  const std::optional<LRESULT> length = SendTimed(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
  if (!length) return std::nullopt;
  return static_cast<std::intptr_t>(*length);
}

std::optional<std::wstring> Win32TaskWindows::text(WindowHandle window, std::size_t bufferChars,
                                                   unsigned timeoutMs) {
  if (bufferChars == 0) return std::nullopt;
  std::vector<wchar_t> buffer(bufferChars, L'\0');
  const std::optional<LRESULT> copied = SendTimed(
      window, WM_GETTEXT, bufferChars, reinterpret_cast<LPARAM>(buffer.data()), timeoutMs);
  if (!copied) return std::nullopt;
  // A window may claim more than it had room for; never read past the buffer.
  const std::size_t n = std::min<std::size_t>(
      static_cast<std::size_t>(std::max<LRESULT>(*copied, 0)), bufferChars - 1);
  return std::wstring(buffer.data(), n);
}

std::optional<IconHandle> Win32TaskWindows::messageIcon(WindowHandle window, bool small,
                                                        unsigned timeoutMs) {
  const std::optional<LRESULT> icon =
      SendTimed(window, WM_GETICON, small ? ICON_SMALL : ICON_BIG, 0, timeoutMs);
  if (!icon) return std::nullopt;
  return static_cast<IconHandle>(*icon);
}

IconHandle Win32TaskWindows::classIcon(WindowHandle window, bool small) {
  return static_cast<IconHandle>(
      ::GetClassLongPtrW(ToHwnd(window), small ? GCLP_HICONSM : GCLP_HICON));
}

bool Win32TaskWindows::answers(WindowHandle window, unsigned timeoutMs) {
  return SendTimed(window, WM_NULL, 0, 0, timeoutMs).has_value();
}

std::uint32_t Win32TaskWindows::processOf(WindowHandle window) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(ToHwnd(window), &pid);
  return pid;
}

bool Win32TaskWindows::postClose(WindowHandle window) {
  return ::PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0) != 0;
}

bool Win32TaskWindows::minimized(WindowHandle window) { return ::IsIconic(ToHwnd(window)) != 0; }

void Win32TaskWindows::restore(WindowHandle window) { ::ShowWindow(ToHwnd(window), SW_RESTORE); }

void Win32TaskWindows::setForeground(WindowHandle window) { ::SetForegroundWindow(ToHwnd(window)); }

WindowHandle Win32TaskWindows::foreground() { return FromHwnd(::GetForegroundWindow()); }

IconHandle Win32TaskWindows::stockIcon(StockIcon which) {
  return reinterpret_cast<IconHandle>(
      ::LoadIconW(nullptr, which == StockIcon::WindowsLogo ? IDI_WINLOGO : IDI_APPLICATION));
}

}  // namespace platform::win32
