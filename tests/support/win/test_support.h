#pragma once
// What the tests under Wine share: where the program is, starting and
// stopping processes, finding windows.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace testsupport {

// Folder of draviktm.exe and its Language folder, of the test programs, and of the sources.
std::wstring ProgramDir();
std::wstring TestDir();
std::wstring SourceDir();
std::wstring ProgramPath();

// A started process, ended by force when the owner goes if it still runs.
class ChildProcess {
 public:
  ChildProcess() = default;
  explicit ChildProcess(PROCESS_INFORMATION info);
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = default;
  ~ChildProcess();
  DWORD pid() const { return pid_; }
  HANDLE handle() const { return process_.get(); }
  bool running() const;
  // Waits for the end; false on time-out.
  bool waitForExit(DWORD milliseconds) const;
  DWORD exitCode() const;
  void kill();

 private:
  platform::win32::UniqueKernelHandle process_;
  DWORD pid_ = 0;
};

ChildProcess Start(const std::wstring& exe, const std::wstring& arguments = L"");

// Polls `condition` until it holds or `timeout` passes; true when it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Top-level windows of a process (visible or not), optionally of one class.
std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className = nullptr);
// The first top-level message box (class #32770) of a process with its title and text.
struct MessageBoxInfo {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
};
MessageBoxInfo FindMessageBox(DWORD pid);
std::wstring WindowText(HWND window);

// Registry clean-up for tests that write settings.
void DeleteRegistryTree(HKEY root, const std::wstring& path);

}  // namespace testsupport
