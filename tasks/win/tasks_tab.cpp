#include "tasks/win/tasks_tab.h"

namespace dravik {

namespace {

bool SystemIsNtFamily() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL known = ::GetVersionExW(&version);
#pragma GCC diagnostic pop
  return known && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

TasksTab::TasksTab(AppContext& context, HWND list,
                   std::function<std::wstring(std::uint32_t)> processPath)
    : context_(context),
      tasks_(windows_, processes_, SystemIsNtFamily()),
      rows_(list, context.instance),
      processPath_(std::move(processPath)) {
  tasks_.setHungTimeout(kHungTimeoutMs);
}

void TasksTab::refresh() {
  if (!context_.language) return;
  RefreshTaskList(tasks_, rows_, *context_.language,
                  platform::win32::FromHwnd(context_.mainWindow));
}

TaskCommandParts TasksTab::commandParts() {
  TaskCommandParts parts;
  parts.tasks = &tasks_;
  parts.ui = context_.ui;
  parts.messages = context_.messages;
  parts.processPath = processPath_;
  HWND main = context_.mainWindow;
  parts.enableMainWindow =
      context_.enableMainWindow
          ? context_.enableMainWindow
          : std::function<void(bool)>([main](bool on) { ::EnableWindow(main, on); });
  // Back in use, the main window takes the keyboard again.
  parts.giveBackMainWindow = [main] { ::SetFocus(main); };
  parts.minimizeMainWindow = [main] { ::ShowWindow(main, SW_MINIMIZE); };
  return parts;
}

bool TasksTab::command(Command command) {
  switch (command) {
    case Command::ShowWindow:
      ShowTaskWindow(SelectedTaskOf(rows_), commandParts());
      return true;
    case Command::EndTask:
      if (!context_.ui || !context_.messages) return true;
      EndTask(SelectedTaskOf(rows_), commandParts());
      return true;
    default:
      return false;
  }
}

}  // namespace dravik
