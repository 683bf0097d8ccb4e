#pragma once
// The Tasks tab: the task windows in the Tasks list, kept current in place,
// with Show Window and End Task on the selected row.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/win/tab_page.h"
#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_task_windows.h"
#include "tasks/task_list.h"
#include "tasks/win/list_view_task_rows.h"

namespace dravik {

class TasksTab final : public TabPage {
 public:
  // Messages to a task window wait this long before it counts as not responding.
  static constexpr int kHungTimeoutMs = 250;

  // `list`: the report-style list with the columns Task, Status, hWnd, PID.
  // `processPath`: the executable of a process id with a drive letter ("" when unknown).
  TasksTab(AppContext& context, HWND list, std::function<std::wstring(std::uint32_t)> processPath);

  // Brings the list up to date: the timer's first step, and the Refresh button.
  void refresh() override;
  bool command(Command command) override;

  int rowCount() { return rows_.rowCount(); }
  CTaskList& tasks() { return tasks_; }
  ListViewTaskRows& rows() { return rows_; }

 private:
  TaskCommandParts commandParts();

  AppContext& context_;
  platform::win32::Win32TaskWindows windows_;
  platform::win32::Win32ProcessControl processes_;
  CTaskList tasks_;
  ListViewTaskRows rows_;
  std::function<std::wstring(std::uint32_t)> processPath_;
};

}  // namespace dravik
