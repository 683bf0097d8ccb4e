#include "app/main_commands.h"

namespace dravik {

namespace {

using M = MenuId;

constexpr MenuItemDef kMenuItems[] = {
    {M::File, M::MenuBar, L"File", "1"},
    {M::Language, M::File, L"Language", "107"},
    {M::None, M::File, nullptr, nullptr},
    {M::Exit, M::File, L"Exit", "2"},
    {M::View, M::MenuBar, L"View", "3"},
    {M::ShowWinServ, M::View, L"Win Services", "4", true},
    {M::ShowDrvServ, M::View, L"Driver Services", "5"},
    {M::Help, M::MenuBar, L"Help", "6"},
    {M::HelpFile, M::Help, L"Help...", "7", false, L"F1"},
    {M::Update, M::Help, L"Check for updates...", "8"},
    {M::None, M::Help, nullptr, nullptr},
    {M::About, M::Help, L"About...", "10"},

    {M::ShowWinTask, M::PopupTasks, L"Show Window", "11"},
    {M::None, M::PopupTasks, nullptr, nullptr},
    {M::EndTask, M::PopupTasks, L"End Task", "12"},

    {M::TerminateProcess, M::PopupProcesses, L"Terminate Process", "13"},
    {M::None, M::PopupProcesses, nullptr, nullptr},
    {M::FileProperties, M::PopupProcesses, L"File Properties", "14"},

    {M::StartServ, M::PopupServices, L"Start", "15"},
    {M::StopServ, M::PopupServices, L"Stop", "16"},
    {M::PauseServ, M::PopupServices, L"Pause", "17"},
    {M::ResumeServ, M::PopupServices, L"Resume", "18"},
    {M::StartupType, M::PopupServices, L"Startup Type", "19"},
    {M::BootServ, M::StartupType, L"Boot", "20"},
    {M::SystemServ, M::StartupType, L"System", "21"},
    {M::AutomaticServ, M::StartupType, L"Automatic", "22"},
    {M::ManualServ, M::StartupType, L"Manual", "23"},
    {M::DisabledServ, M::StartupType, L"Disabled", "24"},
    {M::None, M::PopupServices, nullptr, nullptr},
    {M::DeleteServ, M::PopupServices, L"Delete", "25"},

    {M::CloseConnection, M::PopupNetwork, L"Close Connection", "109"},
    {M::TerminateNetworkPrc, M::PopupNetwork, L"Terminate Process", "13"},
    {M::None, M::PopupNetwork, nullptr, nullptr},
    {M::FileNetworkProperties, M::PopupNetwork, L"File Properties", "14"},
};

constexpr ToolbarButtonDef kToolbar[] = {
    {1, nullptr, 0, nullptr, nullptr, nullptr},
    {2, L"Refresh", 1, L"Refresh", "26", L"TB_REFRESH"},
    {3, L"ShowWindow", 2, L"Show selected window", "27", L"TB_SHOWWINDOW"},
    {4, L"EndTask", 3, L"End selected task", "28", L"TB_ENDTASK"},
    {5, nullptr, 0, nullptr, nullptr, nullptr},
    {6, L"Run", 4, L"Run new process", "29", L"TB_RUN"},
    {7, L"Terminate", 5, L"Terminate selected process", "30", L"TB_TERMINATE"},
    {8, L"Properties", 6, L"Selected item properties", "31", L"TB_PROPERTIES"},
    {9, nullptr, 0, nullptr, nullptr, nullptr},
    {10, L"StartServ", 7, L"Start selected service", "32", L"TB_START"},
    {11, L"StopServ", 8, L"Stop selected service", "33", L"TB_STOP"},
    {12, L"PauseServ", 9, L"Pause selected service", "34", L"TB_PAUSE"},
    {13, L"ResumeServ", 10, L"Resume selected service", "35", L"TB_RESUME"},
    {14, L"DeleteServ", 11, L"Delete selected service", "36", L"TB_DELETE"},
    {15, nullptr, 0, nullptr, nullptr, nullptr},
    {16, L"About", 12, L"About...", "10", L"TB_ABOUT"},
};

constexpr std::optional<PageTarget> None = std::nullopt;

// The same page and command whatever tab is selected.
constexpr std::array<std::optional<PageTarget>, 4> Always(Tab page, Command command) {
  return {PageTarget{page, command}, PageTarget{page, command}, PageTarget{page, command},
          PageTarget{page, command}};
}

using C = Command;
using T = Tab;
using A = MainAction;

const CommandEntry kCommands[] = {
    {L"Refresh", M::None, A::Refresh},
    {L"ShowWindow", M::ShowWinTask, A::PageCommand, Always(T::Tasks, C::ShowWindow)},
    {L"EndTask", M::EndTask, A::PageCommand, Always(T::Tasks, C::EndTask)},
    {L"Run", M::None, A::Run},
    // Terminate and Properties act on the selected row of the Processes or the
    // Network list; the Tasks and Services tabs have nothing for them to do.
    {L"Terminate", M::None, A::PageCommand,
     {None, PageTarget{T::Processes, C::TerminateProcess}, None,
      PageTarget{T::Network, C::TerminateNetworkProcess}}},
    {L"Properties", M::None, A::PageCommand,
     {None, PageTarget{T::Processes, C::FileProperties}, None,
      PageTarget{T::Network, C::NetworkFileProperties}}},
    {nullptr, M::TerminateProcess, A::PageCommand, Always(T::Processes, C::TerminateProcess)},
    {nullptr, M::FileProperties, A::PageCommand, Always(T::Processes, C::FileProperties)},
    // The service buttons are only enabled on the Services tab; their commands
    // do not look at the tab themselves.
    {L"StartServ", M::StartServ, A::PageCommand, Always(T::Services, C::StartService)},
    {L"StopServ", M::StopServ, A::PageCommand, Always(T::Services, C::StopService)},
    {L"PauseServ", M::PauseServ, A::PageCommand, Always(T::Services, C::PauseService)},
    {L"ResumeServ", M::ResumeServ, A::PageCommand, Always(T::Services, C::ResumeService)},
    {L"DeleteServ", M::DeleteServ, A::PageCommand, Always(T::Services, C::DeleteService)},
    {nullptr, M::BootServ, A::PageCommand, Always(T::Services, C::StartupBoot)},
    {nullptr, M::SystemServ, A::PageCommand, Always(T::Services, C::StartupSystem)},
    {nullptr, M::AutomaticServ, A::PageCommand, Always(T::Services, C::StartupAutomatic)},
    {nullptr, M::ManualServ, A::PageCommand, Always(T::Services, C::StartupManual)},
    {nullptr, M::DisabledServ, A::PageCommand, Always(T::Services, C::StartupDisabled)},
    {nullptr, M::ShowWinServ, A::PageCommand, Always(T::Services, C::ViewWinServices)},
    {nullptr, M::ShowDrvServ, A::PageCommand, Always(T::Services, C::ViewDriverServices)},
    {nullptr, M::CloseConnection, A::PageCommand, Always(T::Network, C::CloseConnection)},
    {nullptr, M::TerminateNetworkPrc, A::PageCommand, Always(T::Network, C::TerminateNetworkProcess)},
    {nullptr, M::FileNetworkProperties, A::PageCommand, Always(T::Network, C::NetworkFileProperties)},
    {L"About", M::About, A::About},
    {nullptr, M::Exit, A::Exit},
    {nullptr, M::Language, A::Language},
    {nullptr, M::HelpFile, A::HelpFile},
    {nullptr, M::Update, A::Update},
};

ResolvedCommand Resolve(const CommandEntry& entry, Tab selected) {
  ResolvedCommand resolved;
  resolved.action = entry.action;
  resolved.page = selected;
  if (entry.action == A::PageCommand) {
    const auto& target = entry.targets[static_cast<int>(selected) - 1];
    if (!target) return {};
    resolved.page = target->page;
    resolved.command = target->command;
  }
  return resolved;
}

}  // namespace

std::span<const MenuItemDef> MenuItems() { return kMenuItems; }
std::span<const ToolbarButtonDef> ToolbarButtons() { return kToolbar; }

ResolvedCommand ResolveButton(std::wstring_view key, Tab selected) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.buttonKey && key == entry.buttonKey) return Resolve(entry, selected);
  }
  return {};
}

const CommandEntry* FindMenuEntry(MenuId id) {
  if (id == M::None) return nullptr;
  for (const CommandEntry& entry : kCommands) {
    if (entry.menu == id) return &entry;
  }
  return nullptr;
}

ResolvedCommand ResolveMenu(MenuId id, Tab selected) {
  const CommandEntry* entry = FindMenuEntry(id);
  return entry ? Resolve(*entry, selected) : ResolvedCommand{};
}

TabSwitch TabSwitchFor(Tab tab) {
  // Refresh (2) and About (16) stay enabled; separators have no state of
  // their own and are left enabled.
  TabSwitch s{};
  s.enabled.fill(true);
  const bool tasks = tab == T::Tasks;
  const bool rows = tab == T::Processes || tab == T::Network;
  const bool services = tab == T::Services;
  for (int p : {3, 4}) s.enabled[p - 1] = tasks;
  for (int p : {6, 7, 8}) s.enabled[p - 1] = rows;
  for (int p = 10; p <= 14; ++p) s.enabled[p - 1] = services;
  switch (tab) {
    case T::Tasks: s.work = TabWork::Nothing; break;
    case T::Processes:
    case T::Services: s.work = TabWork::Refresh; break;
    case T::Network: s.work = TabWork::WatchNetwork; break;
  }
  return s;
}

}  // namespace dravik
