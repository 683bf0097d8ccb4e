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
inline constexpr TabDescription kServicesTabDescription{
    Tab::Services, text_key::kServicesTab, kServiceColumns, kServicesCommands, kServicesButtons, TabWork::Refresh};

}  // namespace dravik
