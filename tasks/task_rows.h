#pragma once
// Keeping the Tasks list in step with the task list without rebuilding it:
// a cell is written only when its value changed, so the list does not
// flicker and the user's selection stays.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/window_manager.h"
#include "tasks/task_list.h"

namespace dravik {

// The Tasks list as the refresh sees it. Rows are 0-based here; columns are
// 1-based as on screen: 1 the task, 2 its status, 3 its window handle, 4 its
// process id. Each row has a key and a tag, and a picture of the image list
// chosen by key.
class TaskRowsView {
 public:
  virtual ~TaskRowsView() = default;
  virtual int rowCount() = 0;
  virtual std::wstring text(int row) = 0;
  virtual std::wstring subItem(int row, int column) = 0;
  // The row with that key, -1 when there is none.
  virtual int findRow(const std::wstring& key) = 0;
  // Adds a row at the end, or at its sorted place when the list is sorted;
  // the row it became, -1 when it could not be added.
  virtual int addRow(const std::wstring& key, const std::wstring& text) = 0;
  virtual void removeRow(int row) = 0;
  // -1 when no row is selected.
  virtual int selectedRow() = 0;
  virtual void clearSelection() = 0;
  virtual bool hasIcon(int row) = 0;
  virtual void setIcon(int row, const std::wstring& imageKey) = 0;
  // Stores a picture of the icon under the key; false when the key is taken
  // (the stored picture stays) or the picture could not be made.
  virtual bool addImage(const std::wstring& key, platform::IconHandle icon) = 0;
  virtual void setText(int row, const std::wstring& text) = 0;
  virtual void setSubItem(int row, int column, const std::wstring& text) = 0;
  virtual std::wstring tag(int row) = 0;
  virtual void setTag(int row, const std::wstring& tag) = 0;
};

// "1A2B" for the handle 0x1A2B: upper-case hexadecimal without leading zeros.
std::wstring HandleHex(platform::WindowHandle window);
// The row key of a window: "h1A2B".
std::wstring TaskRowKey(platform::WindowHandle window);
// The window of a handle cell ("&h1A2B"); 0 when the text is no such cell.
platform::WindowHandle WindowFromHandleCell(const std::wstring& cell);
// The process id of a PID cell; 0 when the text is not a decimal id.
std::uint32_t ProcessIdFromCell(const std::wstring& cell);

// Brings the list up to date: drops the rows of tasks that no longer
// qualify, then adds new tasks and rewrites what changed. `ownWindow` (the
// program's main window) is never listed.
void RefreshTaskList(CTaskList& tasks, TaskRowsView& rows, const Language& language,
                     platform::WindowHandle ownWindow);

// The selected row of the list, as the commands read it.
struct SelectedTask {
  platform::WindowHandle window = 0;
  std::uint32_t processId = 0;
  std::wstring text;
};
std::optional<SelectedTask> SelectedTaskOf(TaskRowsView& rows);

// The question End Task asks before it ends a task.
struct Confirmation {
  std::wstring text;
  std::wstring title;
  unsigned flags = 0;
};
// The shell gets the stronger warning: ending it takes the desktop away.
Confirmation EndTaskConfirmation(const std::wstring& processPath, const std::wstring& taskText,
                                 const MessageTexts& messages);

// How long a task's process may take to close its windows before it is ended by force.
inline constexpr unsigned kEndTaskDialogDelayMs = 3000;

struct TaskCommandParts {
  CTaskList* tasks = nullptr;
  platform::UserInterface* ui = nullptr;
  const MessageTexts* messages = nullptr;
  std::function<std::wstring(std::uint32_t)> processPath;
  std::function<void(bool)> enableMainWindow;
  // Hands the main window back to the user after a task was ended.
  std::function<void()> giveBackMainWindow;
  std::function<void()> minimizeMainWindow;
};

// Brings the selected task to the front and gets the main window out of its way.
void ShowTaskWindow(const std::optional<SelectedTask>& selected, const TaskCommandParts& parts);
// Asks, then ends the selected task; true when it was asked to end.
bool EndTask(const std::optional<SelectedTask>& selected, const TaskCommandParts& parts);

}  // namespace dravik
