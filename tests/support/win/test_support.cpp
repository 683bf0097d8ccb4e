#include "support/win/test_support.h"

#include <cstdio>

namespace testsupport {

namespace {
std::wstring Required(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  if (value && *value) return value;
  // Run through ctest, which sets these; a missing one is a broken set-up, not a skip.
  fwprintf(stderr, L"environment variable %ls is not set\n", name);
  ::ExitProcess(3);
}
}  // namespace

std::wstring ProgramDir() { return Required(L"DRAVIK_PROGRAM_DIR"); }
std::wstring TestDir() { return Required(L"DRAVIK_TEST_DIR"); }
std::wstring ProgramPath() { return ProgramDir() + L"\\draviktm.exe"; }

ChildProcess::ChildProcess(PROCESS_INFORMATION info) : process_(info.hProcess), pid_(info.dwProcessId) {
  ::CloseHandle(info.hThread);
}

bool ChildProcess::waitForExit(DWORD milliseconds) const {
  return process_ && ::WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD ChildProcess::exitCode() const {
  DWORD code = 0;
  if (process_) ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

void ChildProcess::kill() {
  if (running()) {
    ::TerminateProcess(process_.get(), 99);
    waitForExit(5000);
  }
}

ChildProcess Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
  std::wstring command = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  const bool started = ::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        folder.empty() ? nullptr : folder.c_str(), &startup, &info);
  return started ? ChildProcess(info) : ChildProcess();
}

Thread::Thread(std::function<void()> body) : body_(std::move(body)) {
  handle_.reset(::CreateThread(nullptr, 0, &Thread::Run, this, 0, nullptr));
  if (!handle_) {
    fwprintf(stderr, L"CreateThread failed: %lu\n", ::GetLastError());
    ::ExitProcess(3);
  }
}

DWORD WINAPI Thread::Run(void* self) {
  static_cast<Thread*>(self)->body_();
  return 0;
}

void Thread::join() {
  if (handle_) ::WaitForSingleObject(handle_.get(), INFINITE);
  handle_.reset();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    ::Sleep(20);
  }
  return true;
}

std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, className, nullptr)) != nullptr;) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == pid) found.push_back(window);
  }
  return found;
}

HWND Descendant(HWND parent, const wchar_t* className, int id) {
  for (HWND child = nullptr; (child = ::FindWindowExW(parent, child, nullptr, nullptr)) != nullptr;) {
    wchar_t cls[64] = {};
    ::GetClassNameW(child, cls, 64);
    if ((!className || _wcsicmp(cls, className) == 0) && (id < 0 || ::GetDlgCtrlID(child) == id)) return child;
    if (const HWND found = Descendant(child, className, id)) return found;
  }
  return nullptr;
}

std::wstring WindowText(HWND window) {
  wchar_t text[2048];
  const int length = ::GetWindowTextW(window, text, 2048);
  return std::wstring(text, length > 0 ? length : 0);
}

MessageBoxInfo FindMessageBox(DWORD pid) {
  for (HWND box : WindowsOf(pid, L"#32770")) {
    if (!::IsWindowVisible(box)) continue;
    MessageBoxInfo info;
    info.window = box;
    info.title = WindowText(box);
    info.text = WindowText(::GetDlgItem(box, 0xFFFF));  // the message: the static control with id 0xFFFF
    // The icon's control id differs between systems; its style does not.
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      wchar_t cls[16] = {};
      ::GetClassNameW(child, cls, 16);
      const LONG style = ::GetWindowLongW(child, GWL_STYLE);
      if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        info.icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
      } else if (_wcsicmp(cls, L"Button") == 0 && (style & WS_VISIBLE)) {
        info.buttons.push_back(::GetDlgCtrlID(child));
        // Not DM_GETDEFID: Wine answers it with the hidden OK button of its
        // box template even when Yes is the default.
        if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) info.defaultButton = info.buttons.back();
      }
    }
    return info;
  }
  return {};
}

LSTATUS SetRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                         const void* data, DWORD bytes) {
  platform::win32::UniqueRegKey opened;
  const LSTATUS created = ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                            opened.put(), nullptr);
  if (created != ERROR_SUCCESS) return created;
  return ::RegSetValueExW(opened.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
}

LSTATUS DeleteRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name) {
  platform::win32::UniqueRegKey opened;
  const LSTATUS result = ::RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, opened.put());
  return result == ERROR_SUCCESS ? ::RegDeleteValueW(opened.get(), name.c_str()) : result;
}

RegistryGuard::RegistryGuard(HKEY root, std::wstring key, const std::vector<std::wstring>& names)
    : root_(root), key_(std::move(key)) {
  for (const auto& name : names) {
    Saved& saved = saved_.emplace_back(Saved{name, 0, std::vector<BYTE>(4096)});
    DWORD size = 4096;
    const bool present = ::RegGetValueW(root_, key_.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                                        &saved.type, saved.data->data(), &size) == ERROR_SUCCESS;
    saved.data->resize(size);
    if (!present) saved.data.reset();
  }
}

RegistryGuard::~RegistryGuard() {
  for (const Saved& s : saved_) {
    if (s.data) {
      SetRegistryValue(root_, key_, s.name, s.type, s.data->data(), static_cast<DWORD>(s.data->size()));
    } else {
      DeleteRegistryValue(root_, key_, s.name);
    }
  }
}

std::optional<std::wstring> ReadSetting(const std::wstring& name) {
  wchar_t data[512];
  DWORD size = sizeof(data);
  const LSTATUS status = ::RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size);
  return status == ERROR_SUCCESS ? std::optional<std::wstring>(data) : std::nullopt;
}

void WriteSetting(const std::wstring& name, const std::wstring& value) {
  SetRegistryValue(HKEY_LOCAL_MACHINE, kSettingsKey, name, REG_SZ, value.c_str(),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace testsupport
