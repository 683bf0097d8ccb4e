#pragma once
// The Network tab as the main window sees it.
#include "network/network_columns.h"
#include "ui/tab_description.h"

namespace dravik {

inline constexpr Command kNetworkCommands[] = {Command::CloseConnection, Command::TerminateProcess,
                                               Command::FileProperties};
inline constexpr Command kNetworkButtons[] = {Command::Run, Command::TerminateProcess, Command::FileProperties};
inline constexpr PopupItem kNetworkPopup[] = {
    {Command::CloseConnection, L"Close Connection", "109"},
    {Command::TerminateProcess, L"Terminate Process", "13"},
    {Command::None, nullptr, nullptr},
    {Command::FileProperties, L"File Properties", "14"},
};
inline constexpr TabDescription kNetworkTabDescription{
    Tab::Network,     text_key::kNetworkTab, kNetworkColumns, kNetworkPopup,
    kNetworkCommands, kNetworkButtons,       TabWork::WatchNetwork};

}  // namespace dravik
