#include "support/win/test_support.h"

#include <cstdio>
#include <thread>

namespace testsupport {

namespace {

std::wstring Env(const wchar_t* name) {
  wchar_t buffer[1024];
  const DWORD length = ::GetEnvironmentVariableW(name, buffer, 1024);
  return (length > 0 && length < 1024) ? std::wstring(buffer, length) : std::wstring();
}

std::wstring Required(const wchar_t* name) {
  std::wstring value = Env(name);
  if (value.empty()) {
    // Run through ctest, which sets these; a missing one is a broken set-up, not a skip.
    fwprintf(stderr, L"environment variable %ls is not set\n", name);
    ::ExitProcess(3);
  }
  return value;
}

}  // namespace

std::wstring ProgramDir() { return Required(L"DRAVIK_PROGRAM_DIR"); }
std::wstring TestDir() { return Required(L"DRAVIK_TEST_DIR"); }
std::wstring SourceDir() { return Required(L"DRAVIK_SOURCE_DIR"); }
std::wstring ProgramPath() { return ProgramDir() + L"\\draviktm.exe"; }

ChildProcess::ChildProcess(PROCESS_INFORMATION info) : process_(info.hProcess), pid_(info.dwProcessId) {
  ::CloseHandle(info.hThread);
}

ChildProcess::~ChildProcess() { kill(); }

bool ChildProcess::running() const {
  return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
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
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

ChildProcess Start(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring command = L"\"" + exe + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return ChildProcess();
  }
  return ChildProcess(info);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className) {
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
  } search{pid, className, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != s->pid) return TRUE;
        if (s->cls) {
          wchar_t cls[256];
          ::GetClassNameW(window, cls, 256);
          if (wcscmp(cls, s->cls) != 0) return TRUE;
        }
        s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring WindowText(HWND window) {
  wchar_t text[2048];
  const int length = ::GetWindowTextW(window, text, 2048);
  return std::wstring(text, length > 0 ? length : 0);
}

MessageBoxInfo FindMessageBox(DWORD pid) {
  for (HWND box : WindowsOf(pid, L"#32770")) {
    if (!::IsWindowVisible(box)) continue;
    MessageBoxInfo info{box, WindowText(box), {}};
    // The message is the static control with id 0xFFFF.
    if (HWND text = ::GetDlgItem(box, 0xFFFF)) info.text = WindowText(text);
    return info;
  }
  return {};
}

void DeleteRegistryTree(HKEY root, const std::wstring& path) {
  ::RegDeleteTreeW(root, path.c_str());
  ::RegDeleteKeyW(root, path.c_str());
}

}  // namespace testsupport
