#pragma once
// The Processes tab as the main window sees it.
#include "processes/process_columns.h"
#include "ui/tab_description.h"

namespace dravik {

inline constexpr Command kProcessesCommands[] = {Command::TerminateProcess, Command::FileProperties};
inline constexpr Command kProcessesButtons[] = {Command::Run, Command::TerminateProcess, Command::FileProperties};
inline constexpr PopupItem kProcessesPopup[] = {
    {Command::TerminateProcess, L"Terminate Process", "13"},
    {Command::None, nullptr, nullptr},
    {Command::FileProperties, L"File Properties", "14"},
};
inline constexpr TabDescription kProcessesTabDescription{
    Tab::Processes,     text_key::kProcessesTab, kProcessListColumns, kProcessesPopup,
    kProcessesCommands, kProcessesButtons,       TabWork::Refresh};

}  // namespace dravik
