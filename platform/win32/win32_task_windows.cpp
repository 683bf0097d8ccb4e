#include "platform/win32/win32_task_windows.h"

#include <psapi.h>

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

void Win32TaskWindows::enumerate(const std::function<bool(WindowHandle)>& visit) {
  struct Walk {
    const std::function<bool(WindowHandle)>* visit;
  } walk{&visit};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        return (*reinterpret_cast<Walk*>(data)->visit)(FromHwnd(window)) ? TRUE : FALSE;
      },
      reinterpret_cast<LPARAM>(&walk));
}

std::optional<std::intptr_t> Win32TaskWindows::textLength(WindowHandle window,
                                                          unsigned timeoutMs) {
  const std::optional<LRESULT> length = SendTimed(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
  if (!length) return std::nullopt;
  return static_cast<std::intptr_t>(*length);
}

std::optional<std::wstring> Win32TaskWindows::text(WindowHandle window, std::size_t bufferChars,
                                                   unsigned timeoutMs) {
  if (bufferChars == 0) return std::nullopt;
  std::vector<wchar_t> buffer(bufferChars, L'\0');
  const std::optional<LRESULT> copied = SendTimed(window, WM_GETTEXT, bufferChars,
                                                  reinterpret_cast<LPARAM>(buffer.data()), timeoutMs);
  if (!copied) return std::nullopt;
  // A window may claim more than it had room for; never read past the buffer.
  const std::size_t n =
      std::min<std::size_t>(static_cast<std::size_t>(std::max<LRESULT>(*copied, 0)), bufferChars - 1);
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

void Win32TaskWindows::setForeground(WindowHandle window) {
  ::SetForegroundWindow(ToHwnd(window));
}

WindowHandle Win32TaskWindows::foreground() { return FromHwnd(::GetForegroundWindow()); }

IconHandle Win32TaskWindows::stockIcon(StockIcon which) {
  return reinterpret_cast<IconHandle>(
      ::LoadIconW(nullptr, which == StockIcon::WindowsLogo ? IDI_WINLOGO : IDI_APPLICATION));
}

ProcessControl::WaitResult Win32ProcessControl::waitForEnd(std::uint32_t processId,
                                                           unsigned timeoutMs) {
  UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process) return WaitResult::NotOpened;
  return ::WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0 ? WaitResult::Ended
                                                                           : WaitResult::StillRunning;
}

std::optional<bool> Win32ProcessControl::terminate(std::uint32_t processId) {
  UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
  if (!process) return std::nullopt;
  return ::TerminateProcess(process.get(), 0) != 0;
}

std::optional<std::wstring> Win32ProcessControl::imageFileName(std::uint32_t processId) {
  UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return std::nullopt;
  std::wstring buffer(MAX_PATH, L'\0');
  if (::GetProcessImageFileNameW(process.get(), buffer.data(), MAX_PATH) == 0) return std::nullopt;
  return buffer;
}

std::wstring Win32ProcessControl::logicalDriveStrings() {
  const DWORD needed = ::GetLogicalDriveStringsW(0, nullptr);
  if (needed == 0) return std::wstring();
  std::wstring buffer(needed + 1, L'\0');
  const DWORD written = ::GetLogicalDriveStringsW(needed + 1, buffer.data());
  // A drive attached between the two calls makes the second one too small.
  if (written == 0 || written > needed) return std::wstring();
  buffer.resize(written);
  return buffer;
}

ProcessControl::DosDeviceResult Win32ProcessControl::queryDosDevice(const std::wstring& drive) {
  DosDeviceResult result;
  result.buffer.assign(MAX_PATH, L'\0');
  result.count = ::QueryDosDeviceW(drive.c_str(), result.buffer.data(), MAX_PATH);
  return result;
}

std::vector<std::uint32_t> Win32ProcessControl::wowMachines() {
  std::vector<std::uint32_t> machines;
  // Only systems with a 16-bit subsystem carry the library; elsewhere there
  // is simply no machine to find.
  HMODULE library = ::LoadLibraryW(L"vdmdbg.dll");
  if (!library) return machines;
  using Visit = BOOL(WINAPI*)(DWORD, DWORD, LPARAM);
  using EnumWow = INT(WINAPI*)(Visit, LPARAM);
  const auto enumWow =
      reinterpret_cast<EnumWow>(reinterpret_cast<void*>(::GetProcAddress(library, "VDMEnumProcessWOW")));
  if (enumWow) {
    enumWow(
        [](DWORD processId, DWORD, LPARAM data) -> BOOL {
          reinterpret_cast<std::vector<std::uint32_t>*>(data)->push_back(processId);
          return FALSE;  // go on
        },
        reinterpret_cast<LPARAM>(&machines));
  }
  ::FreeLibrary(library);
  return machines;
}

std::wstring Win32ProcessControl::firstModuleName(std::uint32_t processId) {
  UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return std::wstring();
  HMODULE modules[256];
  DWORD needed = 0;
  if (!::EnumProcessModules(process.get(), modules, sizeof(modules), &needed) ||
      needed < sizeof(HMODULE)) {
    return std::wstring();
  }
  wchar_t name[MAX_PATH];
  const DWORD length = ::GetModuleBaseNameW(process.get(), modules[0], name, MAX_PATH);
  return std::wstring(name, length);
}

}  // namespace platform::win32
