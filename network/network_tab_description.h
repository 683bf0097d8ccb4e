#pragma once
// The Network tab as the main window sees it.
#include "network/network_columns.h"
#include "ui/tab_description.h"

namespace dravik {

inline constexpr Command kNetworkCommands[] = {Command::CloseConnection, Command::TerminateProcess,
                                               Command::FileProperties};
inline constexpr Command kNetworkButtons[] = {Command::Run, Command::TerminateProcess, Command::FileProperties};
inline constexpr TabDescription kNetworkTabDescription{
    Tab::Network, text_key::kNetworkTab, kNetworkColumns, kNetworkCommands, kNetworkButtons, TabWork::WatchNetwork};

}  // namespace dravik
