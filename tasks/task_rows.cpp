#include "tasks/task_rows.h"

#include <algorithm>
#include <cwctype>

namespace dravik {

namespace {

constexpr int kStatusColumn = 2;
constexpr int kHandleColumn = 3;
constexpr int kProcessColumn = 4;

std::wstring Upper(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
  return text;
}

}  // namespace

std::wstring HandleHex(platform::WindowHandle window) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring hex;
  do {
    hex.insert(hex.begin(), kDigits[window & 0xF]);
    window >>= 4;
  } while (window != 0);
  return hex;
}

std::wstring TaskRowKey(platform::WindowHandle window) { return L"h" + HandleHex(window); }

platform::WindowHandle WindowFromHandleCell(const std::wstring& cell) {
  if (cell.size() < 3 || cell[0] != L'&' || (cell[1] != L'h' && cell[1] != L'H')) return 0;
  if (cell.size() - 2 > sizeof(platform::WindowHandle) * 2) return 0;
  platform::WindowHandle window = 0;
  for (std::size_t i = 2; i < cell.size(); ++i) {
    const wchar_t c = static_cast<wchar_t>(std::towupper(cell[i]));
    int digit;
    if (c >= L'0' && c <= L'9') {
      digit = c - L'0';
    } else if (c >= L'A' && c <= L'F') {
      digit = c - L'A' + 10;
    } else {
      return 0;
    }
    window = (window << 4) | static_cast<platform::WindowHandle>(digit);
  }
  return window;
}

std::uint32_t ProcessIdFromCell(const std::wstring& cell) {
  if (cell.empty() || cell.size() > 10) return 0;
  std::uint64_t id = 0;
  for (wchar_t c : cell) {
    if (c < L'0' || c > L'9') return 0;
    id = id * 10 + static_cast<std::uint64_t>(c - L'0');
  }
  return id > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(id);
}

void RefreshTaskList(CTaskList& tasks, TaskRowsView& rows, const Language& language,
                     platform::WindowHandle ownWindow) {
  for (int row = rows.rowCount() - 1; row >= 0; --row) {
    const platform::WindowHandle window = WindowFromHandleCell(rows.subItem(row, kHandleColumn));
    if (tasks.valid(0, window)) continue;
    // The selection would otherwise pass to whatever row slides into its place.
    if (rows.selectedRow() == row) rows.clearSelection();
    rows.removeRow(row);
  }

  tasks.refresh();
  for (int i = 1; i <= tasks.count(); ++i) {
    const platform::WindowHandle window = tasks.hWnd(i);
    if (window == ownWindow) continue;
    const std::wstring key = TaskRowKey(window);
    const std::wstring caption = tasks.caption(i);
    int row = rows.findRow(key);
    if (row < 0) row = rows.addRow(key, caption);
    if (row < 0) continue;

    if (!rows.hasIcon(row)) {
      // A window that reuses the handle of a closed one finds its picture
      // already stored, and keeps it.
      rows.addImage(key, tasks.hIconSm(i));
      rows.setIcon(row, key);
      rows.setSubItem(row, kHandleColumn, L"&" + key);
      rows.setSubItem(row, kProcessColumn, std::to_wstring(tasks.processId(i)));
    }

    const int status = tasks.status(i);
    if (rows.text(row) != caption) {
      rows.setText(row, caption);
      // In a sorted list the new text can move the row.
      row = rows.findRow(key);
      if (row < 0) continue;
    }
    const std::wstring tag = std::to_wstring(status);
    if (rows.tag(row) != tag) {
      rows.setSubItem(row, kStatusColumn,
                      language.text(status == CTaskList::kStatusResponds ? text_key::kRunning : text_key::kTaskNotResponding));
      rows.setTag(row, tag);
    }
  }
}

std::optional<SelectedTask> SelectedTaskOf(TaskRowsView& rows) {
  const int row = rows.selectedRow();
  if (row < 0) return std::nullopt;
  return SelectedTask{WindowFromHandleCell(rows.subItem(row, kHandleColumn)),
                      ProcessIdFromCell(rows.subItem(row, kProcessColumn)), rows.text(row)};
}

Confirmation EndTaskConfirmation(const std::wstring& processPath, const std::wstring& taskText,
                                 const MessageTexts& messages) {
  const std::wstring title = messages[MessageText::Task] + L": " + taskText;
  const std::wstring path = Upper(processPath);
  if (path == L"C:\\WINDOWS\\EXPLORER.EXE" || path == L"D:\\WINDOWS\\EXPLORER.EXE") {
    return {messages[MessageText::Warning] + L"\r\n" + messages[MessageText::Ending] + L"\r\n\r\n" +
                messages[MessageText::AreYouSureTask],
            title, platform::mb::kStopYesNo};
  }
  return {messages[MessageText::AreYouSureTask], title, platform::mb::kExclamationYesNo};
}

void ShowTaskWindow(const std::optional<SelectedTask>& selected, const TaskCommandParts& parts) {
  if (!selected) return;
  if (selected->window != 0) parts.tasks->activate(0, selected->window);
  if (parts.minimizeMainWindow) parts.minimizeMainWindow();
}

bool EndTask(const std::optional<SelectedTask>& selected, const TaskCommandParts& parts) {
  if (!selected) return false;
  const std::wstring path = (selected->processId != 0 && parts.processPath)
                                ? parts.processPath(selected->processId)
                                : std::wstring();
  const Confirmation question = EndTaskConfirmation(path, selected->text, *parts.messages);
  if (parts.ui->messageBox(question.text, question.title, question.flags) !=
      platform::mb::kAnswerYes) {
    return false;
  }
  if (selected->window == 0) return false;

  if (parts.enableMainWindow) parts.enableMainWindow(false);
  // In front, the task's own "save changes?" question is seen and answered.
  parts.tasks->activate(0, selected->window);
  parts.tasks->terminate(0, selected->window, kEndTaskDialogDelayMs);
  if (parts.enableMainWindow) parts.enableMainWindow(true);
  if (parts.giveBackMainWindow) parts.giveBackMainWindow();
  return true;
}

}  // namespace dravik
