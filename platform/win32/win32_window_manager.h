#pragma once
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/window_manager.h"

namespace platform::win32 {

class Win32UserInterface final : public UserInterface {
 public:
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  void pumpMessages() override;
  // The title an untitled message box gets: the application's title.
  void setApplicationTitle(std::wstring title) { applicationTitle_ = std::move(title); }

 private:
  std::wstring applicationTitle_ = L"Dravik Task Manager";
};

// A named mutex in the session's namespace: the first copy of the program
// creates it, every later copy finds it.
class Win32InstanceLock final : public InstanceLock {
 public:
  explicit Win32InstanceLock(std::wstring name) : name_(std::move(name)) {}
  bool anotherInstanceRuns() override;

 private:
  std::wstring name_;
  UniqueKernelHandle mutex_;
};

// The windows are built from the list view, tab, toolbar, status bar and
// tooltip classes of the system's common controls.
class Win32ControlLibrary final : public ControlLibrary {
 public:
  void initExtendedClasses() override;
  bool availableInSystem(const std::wstring& systemFolder) override;
};

}  // namespace platform::win32
