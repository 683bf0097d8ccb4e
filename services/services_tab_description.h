#pragma once
// The Services tab as the main window sees it.
#include "services/service_columns.h"
#include "ui/tab_description.h"

namespace dravik {

inline constexpr Command kServicesCommands[] = {
    Command::StartService,     Command::StopService,   Command::PauseService,    Command::ResumeService,
    Command::DeleteService,    Command::StartupBoot,   Command::StartupSystem,   Command::StartupAutomatic,
    Command::StartupManual,    Command::StartupDisabled, Command::ViewWinServices, Command::ViewDriverServices};
inline constexpr Command kServicesButtons[] = {Command::StartService, Command::StopService, Command::PauseService,
                                               Command::ResumeService, Command::DeleteService};
inline constexpr PopupItem kServicesPopup[] = {
    {Command::StartService, L"Start", "15"},
    {Command::StopService, L"Stop", "16"},
    {Command::PauseService, L"Pause", "17"},
    {Command::ResumeService, L"Resume", "18"},
    {Command::None, L"Startup Type", "19", true},
    {Command::StartupBoot, L"Boot", "20", false, true},
    {Command::StartupSystem, L"System", "21", false, true},
    {Command::StartupAutomatic, L"Automatic", "22", false, true},
    {Command::StartupManual, L"Manual", "23", false, true},
    {Command::StartupDisabled, L"Disabled", "24", false, true},
    {Command::None, nullptr, nullptr},
    {Command::DeleteService, L"Delete", "25"},
};
inline constexpr TabDescription kServicesTabDescription{
    Tab::Services,     text_key::kServicesTab, kServiceColumns, kServicesPopup,
    kServicesCommands, kServicesButtons,       TabWork::Refresh};

}  // namespace dravik
