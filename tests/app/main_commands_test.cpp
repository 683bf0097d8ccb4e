#include "app/main_commands.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace dravik;
using A = MainAction;
using C = Command;

ResolvedCommand Page(Tab tab, Command command) { return {A::PageCommand, tab, command}; }

// Doing nothing is one outcome, whatever the other fields hold.
bool Same(const ResolvedCommand& got, const ResolvedCommand& expected) {
  return expected.action == A::Nothing ? got.action == A::Nothing : got == expected;
}

TEST(Dispatch, EveryButtonKeyReachesItsCommand) {
  struct Case {
    const wchar_t* key;
    Tab tab;
    ResolvedCommand expected;
  };
  const Case cases[] = {
      {L"Refresh", Tab::Network, {A::Refresh, Tab::Network, {}}},
      {L"ShowWindow", Tab::Tasks, Page(Tab::Tasks, C::ShowWindow)},
      {L"EndTask", Tab::Tasks, Page(Tab::Tasks, C::EndTask)},
      {L"Run", Tab::Processes, {A::Run, Tab::Processes, {}}},
      {L"Terminate", Tab::Processes, Page(Tab::Processes, C::TerminateProcess)},
      {L"Terminate", Tab::Network, Page(Tab::Network, C::TerminateNetworkProcess)},
      {L"Properties", Tab::Processes, Page(Tab::Processes, C::FileProperties)},
      {L"Properties", Tab::Network, Page(Tab::Network, C::NetworkFileProperties)},
      {L"StartServ", Tab::Services, Page(Tab::Services, C::StartService)},
      {L"PauseServ", Tab::Services, Page(Tab::Services, C::PauseService)},
      {L"ResumeServ", Tab::Services, Page(Tab::Services, C::ResumeService)},
      {L"DeleteServ", Tab::Services, Page(Tab::Services, C::DeleteService)},
      // The service commands do not look at the tab.
      {L"StopServ", Tab::Tasks, Page(Tab::Services, C::StopService)},
      {L"About", Tab::Network, {A::About, Tab::Network, {}}},
      // Terminate and Properties do nothing on Tasks and Services; keys are exact.
      {L"Terminate", Tab::Tasks, {}}, {L"Terminate", Tab::Services, {}},
      {L"Properties", Tab::Tasks, {}}, {L"Properties", Tab::Services, {}},
      {L"refresh", Tab::Tasks, {}}, {L"Refresh ", Tab::Tasks, {}}, {L"", Tab::Tasks, {}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Same(ResolveButton(c.key, c.tab), c.expected)) << "row " << &c - cases;
  }
  for (const auto& b : ToolbarButtons()) {
    if (!b.key) continue;
    bool reaches = false;
    for (Tab tab : {Tab::Tasks, Tab::Processes, Tab::Services, Tab::Network}) {
      reaches = reaches || ResolveButton(b.key, tab).action != A::Nothing;
    }
    EXPECT_TRUE(reaches) << "toolbar key without a command at position " << b.position;
  }
}

TEST(Dispatch, EveryMenuItemReachesItsCommandFromOneEntry) {
  const std::pair<MenuId, ResolvedCommand> cases[] = {
      {MenuId::Exit, {A::Exit, Tab::Tasks, {}}}, {MenuId::Language, {A::Language, Tab::Tasks, {}}},
      {MenuId::HelpFile, {A::HelpFile, Tab::Tasks, {}}}, {MenuId::Update, {A::Update, Tab::Tasks, {}}},
      {MenuId::About, {A::About, Tab::Tasks, {}}},
      {MenuId::ShowWinServ, Page(Tab::Services, C::ViewWinServices)},
      {MenuId::ShowDrvServ, Page(Tab::Services, C::ViewDriverServices)},
      {MenuId::ShowWinTask, Page(Tab::Tasks, C::ShowWindow)}, {MenuId::EndTask, Page(Tab::Tasks, C::EndTask)},
      {MenuId::TerminateProcess, Page(Tab::Processes, C::TerminateProcess)},
      {MenuId::FileProperties, Page(Tab::Processes, C::FileProperties)},
      {MenuId::StartServ, Page(Tab::Services, C::StartService)},
      {MenuId::StopServ, Page(Tab::Services, C::StopService)},
      {MenuId::PauseServ, Page(Tab::Services, C::PauseService)},
      {MenuId::ResumeServ, Page(Tab::Services, C::ResumeService)},
      {MenuId::DeleteServ, Page(Tab::Services, C::DeleteService)},
      {MenuId::BootServ, Page(Tab::Services, C::StartupBoot)},
      {MenuId::SystemServ, Page(Tab::Services, C::StartupSystem)},
      {MenuId::AutomaticServ, Page(Tab::Services, C::StartupAutomatic)},
      {MenuId::ManualServ, Page(Tab::Services, C::StartupManual)},
      {MenuId::DisabledServ, Page(Tab::Services, C::StartupDisabled)},
      {MenuId::CloseConnection, Page(Tab::Network, C::CloseConnection)},
      {MenuId::TerminateNetworkPrc, Page(Tab::Network, C::TerminateNetworkProcess)},
      {MenuId::FileNetworkProperties, Page(Tab::Network, C::NetworkFileProperties)},
      // Titles open their menus; they are not commands.
      {MenuId::File, {}}, {MenuId::StartupType, {}}, {MenuId::None, {}}, {static_cast<MenuId>(9999), {}}};
  std::set<MenuId> covered;
  for (const auto& [id, expected] : cases) {
    EXPECT_TRUE(Same(ResolveMenu(id, Tab::Tasks), expected)) << "menu id " << static_cast<int>(id);
    if (expected.action != A::Nothing) covered.insert(id);
  }
  for (const MenuItemDef& item : MenuItems()) {
    const bool title = item.id == MenuId::File || item.id == MenuId::View ||
                       item.id == MenuId::Help || item.id == MenuId::StartupType;
    if (item.id != MenuId::None && !title) { EXPECT_TRUE(covered.count(item.id)) << static_cast<int>(item.id); }
  }
}

TEST(TabSwitch, ButtonsAndWorkFollowTheSelectedTab) {
  const std::tuple<Tab, std::set<int>, TabWork> cases[] = {
      {Tab::Tasks, {2, 3, 4, 16}, TabWork::Nothing},
      {Tab::Processes, {2, 6, 7, 8, 16}, TabWork::Refresh},
      {Tab::Services, {2, 10, 11, 12, 13, 14, 16}, TabWork::Refresh},
      {Tab::Network, {2, 6, 7, 8, 16}, TabWork::WatchNetwork}};
  for (const auto& [tab, enabled, work] : cases) {
    const TabSwitch s = TabSwitchFor(tab);
    std::set<int> on;
    for (int p = 1; p <= 16; ++p) {
      if (s.enabled[p - 1] && p != 1 && p != 5 && p != 9 && p != 15) on.insert(p);  // not separators
    }
    EXPECT_EQ(on, enabled) << "tab " << static_cast<int>(tab);
    EXPECT_EQ(s.work, work) << "tab " << static_cast<int>(tab);
  }
}

}  // namespace
