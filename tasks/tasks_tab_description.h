#pragma once
// The Tasks tab as the main window sees it.
#include "tasks/task_columns.h"
#include "ui/tab_description.h"

namespace dravik {

inline constexpr Command kTasksCommands[] = {Command::ShowWindow, Command::EndTask};
inline constexpr TabDescription kTasksTabDescription{
    Tab::Tasks, text_key::kTasksTab, kTaskColumns, kTasksCommands, kTasksCommands, TabWork::Nothing};

}  // namespace dravik
