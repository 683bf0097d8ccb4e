#pragma once
// The task windows: the top-level windows a user switches between, with
// their captions, icons and processes, kept in the order they were found.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/window_manager.h"

namespace dravik {

using platform::IconHandle;
using platform::WindowHandle;

struct TaskEntry {
  WindowHandle hWnd = 0;  // 0 marks a free slot
  IconHandle hIcon = 0;
  IconHandle hIconSm = 0;
  std::uint32_t processId = 0;
  std::int32_t vdm = 0;  // 0 none, 1 16-bit Windows task, 2 DOS task; set by vdm()
  std::wstring caption;
};

// Positions are 1-based. A position outside 1..count() gives the neutral
// result (0, "" or false) and changes nothing. Members taking both a position
// and a window use the window when it is not 0.
class CTaskList {
 public:
  static constexpr std::size_t kGrowBy = 20;
  static constexpr int kStatusResponds = 0;
  static constexpr int kStatusNotResponding = 1;

  // `supports16Bit`: the system is of the NT family, where 16-bit tasks run
  // inside virtual DOS machines that can be asked about.
  CTaskList(platform::TaskWindows& windows, platform::ProcessControl& processes,
            bool supports16Bit);

  int hungTimeout() const { return hungTimeout_; }
  // Ignored unless above 0.
  void setHungTimeout(int milliseconds);
  int mode() const { return mode_; }
  // Ignored unless 0 or 1.
  void setMode(int mode);

  int count() const { return count_; }
  std::size_t capacity() const { return entries_.size(); }

  std::wstring caption(int index) const;
  WindowHandle hWnd(int index) const;
  // The large icon, or the stock icon of the mode when the window gave none.
  IconHandle hIcon(int index) const;
  // The small icon, or hIcon() when the window gave none.
  IconHandle hIconSm(int index) const;
  std::uint32_t processId(int index) const;
  // 0 when the window answers within hungTimeout(), 1 when it does not;
  // probed on every call.
  int status(int index) const;
  // Whether the task still passes the task test; one that fails is removed.
  bool valid(int index, WindowHandle window = 0);
  // 0, 1 (16-bit Windows task) or 2 (DOS task), stored in the entry.
  int vdm(int index, WindowHandle window = 0);
  // Restores and brings the task to the front; true when it is then the
  // foreground window.
  bool activate(int index, WindowHandle window = 0);
  int getIndex(WindowHandle window) const;
  // Drops the tasks whose windows are gone and adds or updates the others.
  void refresh();
  // Asks the task's windows to close, gives the process `dialogDelayMs` to
  // end and then ends it by force; true when the process has ended.
  // 16-bit and DOS tasks are never touched.
  bool terminate(int index, WindowHandle window, unsigned dialogDelayMs = 0);

 private:
  // `owner` receives the window's owner when the test got as far as asking.
  bool isTaskWindow(WindowHandle window, WindowHandle* owner = nullptr);
  bool isToolWindow(WindowHandle window);
  void updateEntry(WindowHandle window, WindowHandle owner);
  int compact();
  int findIndex(WindowHandle window) const;
  // The position a member works on, 0 when out of range.
  int position(int index, WindowHandle window) const;
  const TaskEntry* at(int index) const;

  platform::TaskWindows& windows_;
  platform::ProcessControl& processes_;
  bool supports16Bit_;
  std::vector<TaskEntry> entries_;
  int count_ = 0;
  int mode_ = 0;
  int hungTimeout_ = 500;
  IconHandle logoIcon_ = 0;
  IconHandle applicationIcon_ = 0;
};

}  // namespace dravik
