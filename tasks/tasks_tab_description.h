#pragma once
// The Tasks tab as the main window sees it.
#include "tasks/task_columns.h"
#include "ui/tab_description.h"

namespace dravik {

inline constexpr Command kTasksCommands[] = {Command::ShowWindow, Command::EndTask};
inline constexpr PopupItem kTasksPopup[] = {
    {Command::ShowWindow, L"Show Window", "11"},
    {Command::None, nullptr, nullptr},
    {Command::EndTask, L"End Task", "12"},
};
inline constexpr TabDescription kTasksTabDescription{Tab::Tasks,    text_key::kTasksTab, kTaskColumns,
                                                     kTasksPopup,   kTasksCommands,      kTasksCommands,
                                                     TabWork::Nothing};

}  // namespace dravik
