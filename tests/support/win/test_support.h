#pragma once
// What the tests under Wine share: where the program is, starting and
// stopping processes, finding windows.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace testsupport {

// Folder of draviktm.exe and its Language folder, and of the test programs.
std::wstring ProgramDir();
std::wstring TestDir();
std::wstring ProgramPath();

// A started process, ended by force when the owner goes if it still runs.
class ChildProcess {
 public:
  ChildProcess() = default;
  explicit ChildProcess(PROCESS_INFORMATION info);
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = default;
  ~ChildProcess() { kill(); }
  DWORD pid() const { return pid_; }
  HANDLE handle() const { return process_.get(); }
  bool running() const { return process_ && !waitForExit(0); }
  // Waits for the end; false on time-out.
  bool waitForExit(DWORD milliseconds) const;
  DWORD exitCode() const;
  void kill();

 private:
  platform::win32::UniqueKernelHandle process_;
  DWORD pid_ = 0;
};

// `folder`: the current folder it starts in, this process's when empty.
ChildProcess Start(const std::wstring& exe, const std::wstring& arguments = L"", const std::wstring& folder = L"");

// Runs `body` on a thread of its own, waited for by join() or when the owner
// goes. A Win32 thread: the runtime the program and its tests are built with
// (the win32 thread model, which keeps the program loadable on Windows XP) has
// no std::thread.
class Thread {
 public:
  explicit Thread(std::function<void()> body);
  ~Thread() { join(); }
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  void join();

 private:
  static DWORD WINAPI Run(void* self);
  std::function<void()> body_;
  platform::win32::UniqueKernelHandle handle_;
};

// Polls `condition` until it holds or `timeout` passes; true when it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The first window under `parent` of a class (any when null) and control id (any when negative).
HWND Descendant(HWND parent, const wchar_t* className, int id);
// Top-level windows of a process (visible or not), optionally of one class.
std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className = nullptr);
// The first visible message box (class #32770) of a process: its title, its
// text, the icon its picture control shows and its push buttons.
struct MessageBoxInfo {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
  HICON icon = nullptr;
  std::vector<int> buttons;  // ids of the shown buttons (Wine hides the unused ones), in order
  int defaultButton = 0;     // the one drawn as default (BS_DEFPUSHBUTTON), 0 for none
};
MessageBoxInfo FindMessageBox(DWORD pid);
std::wstring WindowText(HWND window);

// A value written or deleted by its key's path, as Vista's RegSetKeyValue and
// RegDeleteKeyValue do (the tests build against Windows XP's headers); the
// Win32 error code.
LSTATUS SetRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                         const void* data, DWORD bytes);
LSTATUS DeleteRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name);

// Remembers values of a registry key (absent ones included, any type) and
// puts them back when it goes.
class RegistryGuard {
 public:
  RegistryGuard(HKEY root, std::wstring key, const std::vector<std::wstring>& names);
  ~RegistryGuard();
  RegistryGuard(const RegistryGuard&) = delete;
  RegistryGuard& operator=(const RegistryGuard&) = delete;

 private:
  struct Saved {
    std::wstring name;
    DWORD type = 0;
    std::optional<std::vector<BYTE>> data;
  };
  HKEY root_;
  std::wstring key_;
  std::vector<Saved> saved_;
};

// The program's settings, under HKEY_LOCAL_MACHINE; nullopt when absent.
inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Dravik Task Manager";
std::optional<std::wstring> ReadSetting(const std::wstring& name);
void WriteSetting(const std::wstring& name, const std::wstring& value);

}  // namespace testsupport
