#pragma once
// The Processes tab as the main window sees it.
#include "processes/process_columns.h"
#include "ui/tab_description.h"

namespace dravik {

inline constexpr Command kProcessesCommands[] = {Command::TerminateProcess, Command::FileProperties};
inline constexpr Command kProcessesButtons[] = {Command::Run, Command::TerminateProcess, Command::FileProperties};
inline constexpr TabDescription kProcessesTabDescription{Tab::Processes,      text_key::kProcessesTab,
                                                         kProcessListColumns, kProcessesCommands,
                                                         kProcessesButtons,   TabWork::Refresh};

}  // namespace dravik
