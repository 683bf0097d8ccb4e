#include "app/main_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace dravik;

constexpr Tab kTabs[] = {Tab::Tasks, Tab::Processes, Tab::Services, Tab::Network};

TEST(Toolbar, SixteenPositionsWithSeparatorsAtOneFiveNineFifteen) {
  auto buttons = ToolbarButtons();
  ASSERT_EQ(buttons.size(), 16u);
  std::set<int> pictures;
  for (int i = 0; i < 16; ++i) {
    const auto& b = buttons[i];
    EXPECT_EQ(b.position, i + 1);
    const bool separator = b.position == 1 || b.position == 5 || b.position == 9 || b.position == 15;
    EXPECT_EQ(b.key == nullptr, separator) << b.position;
    if (!separator) {
      EXPECT_TRUE(pictures.insert(b.picture).second) << "picture used twice: " << b.picture;
      EXPECT_NE(b.tipKey, nullptr);
      EXPECT_NE(b.iconName, nullptr);
    }
  }
  EXPECT_EQ(pictures, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(Dispatch, EveryButtonKeyReachesItsCommand) {
  struct Case {
    const wchar_t* key;
    Tab tab;
    ResolvedCommand expected;
  };
  using A = MainAction;
  const Case cases[] = {
      {L"Refresh", Tab::Services, {A::Refresh, Tab::Services, {}}},
      {L"Refresh", Tab::Network, {A::Refresh, Tab::Network, {}}},
      {L"ShowWindow", Tab::Tasks, {A::PageCommand, Tab::Tasks, Command::ShowWindow}},
      {L"EndTask", Tab::Tasks, {A::PageCommand, Tab::Tasks, Command::EndTask}},
      {L"Run", Tab::Processes, {A::Run, Tab::Processes, {}}},
      {L"Terminate", Tab::Processes, {A::PageCommand, Tab::Processes, Command::TerminateProcess}},
      {L"Terminate", Tab::Network, {A::PageCommand, Tab::Network, Command::TerminateNetworkProcess}},
      {L"Properties", Tab::Processes, {A::PageCommand, Tab::Processes, Command::FileProperties}},
      {L"Properties", Tab::Network, {A::PageCommand, Tab::Network, Command::NetworkFileProperties}},
      {L"StartServ", Tab::Services, {A::PageCommand, Tab::Services, Command::StartService}},
      {L"StopServ", Tab::Services, {A::PageCommand, Tab::Services, Command::StopService}},
      {L"PauseServ", Tab::Services, {A::PageCommand, Tab::Services, Command::PauseService}},
      {L"ResumeServ", Tab::Services, {A::PageCommand, Tab::Services, Command::ResumeService}},
      {L"DeleteServ", Tab::Services, {A::PageCommand, Tab::Services, Command::DeleteService}},
      // The service commands do not look at the tab.
      {L"StopServ", Tab::Tasks, {A::PageCommand, Tab::Services, Command::StopService}},
      {L"About", Tab::Network, {A::About, Tab::Network, {}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveButton(c.key, c.tab), c.expected) << std::wstring(c.key).size();
  }
  // Every key of the toolbar is in the table.
  for (const auto& b : ToolbarButtons()) {
    if (!b.key) continue;
    bool reaches = false;
    for (Tab tab : kTabs) reaches = reaches || ResolveButton(b.key, tab).action != MainAction::Nothing;
    EXPECT_TRUE(reaches) << "toolbar key without a command at position " << b.position;
  }
}

TEST(Dispatch, TerminateAndPropertiesDoNothingOnTasksAndServices) {
  for (const wchar_t* key : {L"Terminate", L"Properties"}) {
    EXPECT_EQ(ResolveButton(key, Tab::Tasks).action, MainAction::Nothing);
    EXPECT_EQ(ResolveButton(key, Tab::Services).action, MainAction::Nothing);
  }
}

TEST(Dispatch, KeysAreExactAndUnknownOnesDoNothing) {
  for (const wchar_t* key : {L"refresh", L"ABOUT", L"Refresh ", L"", L"Separator"}) {
    EXPECT_EQ(ResolveButton(key, Tab::Tasks).action, MainAction::Nothing);
  }
  EXPECT_EQ(ResolveMenu(MenuId::None, Tab::Tasks).action, MainAction::Nothing);
  EXPECT_EQ(ResolveMenu(static_cast<MenuId>(9999), Tab::Tasks).action, MainAction::Nothing);
  // Titles open their menus; they are not commands.
  EXPECT_EQ(ResolveMenu(MenuId::File, Tab::Tasks).action, MainAction::Nothing);
  EXPECT_EQ(ResolveMenu(MenuId::StartupType, Tab::Services).action, MainAction::Nothing);
}

TEST(Dispatch, EveryMenuItemReachesItsCommand) {
  using A = MainAction;
  struct Case {
    MenuId id;
    ResolvedCommand expected;
  };
  const Case cases[] = {
      {MenuId::Exit, {A::Exit, Tab::Tasks, {}}},
      {MenuId::Language, {A::Language, Tab::Tasks, {}}},
      {MenuId::HelpFile, {A::HelpFile, Tab::Tasks, {}}},
      {MenuId::Update, {A::Update, Tab::Tasks, {}}},
      {MenuId::About, {A::About, Tab::Tasks, {}}},
      {MenuId::ShowWinServ, {A::PageCommand, Tab::Services, Command::ViewWinServices}},
      {MenuId::ShowDrvServ, {A::PageCommand, Tab::Services, Command::ViewDriverServices}},
      {MenuId::ShowWinTask, {A::PageCommand, Tab::Tasks, Command::ShowWindow}},
      {MenuId::EndTask, {A::PageCommand, Tab::Tasks, Command::EndTask}},
      {MenuId::TerminateProcess, {A::PageCommand, Tab::Processes, Command::TerminateProcess}},
      {MenuId::FileProperties, {A::PageCommand, Tab::Processes, Command::FileProperties}},
      {MenuId::StartServ, {A::PageCommand, Tab::Services, Command::StartService}},
      {MenuId::StopServ, {A::PageCommand, Tab::Services, Command::StopService}},
      {MenuId::PauseServ, {A::PageCommand, Tab::Services, Command::PauseService}},
      {MenuId::ResumeServ, {A::PageCommand, Tab::Services, Command::ResumeService}},
      {MenuId::DeleteServ, {A::PageCommand, Tab::Services, Command::DeleteService}},
      {MenuId::BootServ, {A::PageCommand, Tab::Services, Command::StartupBoot}},
      {MenuId::SystemServ, {A::PageCommand, Tab::Services, Command::StartupSystem}},
      {MenuId::AutomaticServ, {A::PageCommand, Tab::Services, Command::StartupAutomatic}},
      {MenuId::ManualServ, {A::PageCommand, Tab::Services, Command::StartupManual}},
      {MenuId::DisabledServ, {A::PageCommand, Tab::Services, Command::StartupDisabled}},
      {MenuId::CloseConnection, {A::PageCommand, Tab::Network, Command::CloseConnection}},
      {MenuId::TerminateNetworkPrc, {A::PageCommand, Tab::Network, Command::TerminateNetworkProcess}},
      {MenuId::FileNetworkProperties, {A::PageCommand, Tab::Network, Command::NetworkFileProperties}},
  };
  std::set<MenuId> covered;
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveMenu(c.id, Tab::Tasks), c.expected) << static_cast<int>(c.id);
    covered.insert(c.id);
  }
  // Every menu item that is neither a title nor a separator has a command.
  for (const MenuItemDef& item : MenuItems()) {
    const bool title = item.id == MenuId::File || item.id == MenuId::View ||
                       item.id == MenuId::Help || item.id == MenuId::StartupType;
    if (item.id == MenuId::None || title) continue;
    EXPECT_TRUE(covered.count(item.id)) << static_cast<int>(item.id);
  }
}

TEST(Dispatch, OneEntryPerKeyAndPerMenuItem) {
  std::set<std::wstring> keys;
  std::set<MenuId> menus;
  for (const CommandEntry& e : CommandTable()) {
    if (e.buttonKey) {
      EXPECT_TRUE(keys.insert(e.buttonKey).second);
    }
    if (e.menu != MenuId::None) {
      EXPECT_TRUE(menus.insert(e.menu).second);
    }
  }
}

TEST(Menus, HelpHasF1AndWinServicesStartsChecked) {
  int f1 = 0, checked = 0;
  for (const MenuItemDef& item : MenuItems()) {
    if (item.shortcut) {
      ++f1;
      EXPECT_EQ(item.id, MenuId::HelpFile);
      EXPECT_EQ(std::wstring(item.shortcut), L"F1");
    }
    if (item.checkedAtStart) {
      ++checked;
      EXPECT_EQ(item.id, MenuId::ShowWinServ);
    }
  }
  EXPECT_EQ(f1, 1);
  EXPECT_EQ(checked, 1);
}

TEST(TabSwitch, ButtonsFollowTheSelectedTab) {
  const auto enabledSet = [](Tab tab) {
    std::set<int> on;
    const TabSwitch s = TabSwitchFor(tab);
    for (int p = 1; p <= 16; ++p) {
      if (s.enabled[p - 1] && p != 1 && p != 5 && p != 9 && p != 15) on.insert(p);
    }
    return on;
  };
  EXPECT_EQ(enabledSet(Tab::Tasks), (std::set<int>{2, 3, 4, 16}));
  EXPECT_EQ(enabledSet(Tab::Processes), (std::set<int>{2, 6, 7, 8, 16}));
  EXPECT_EQ(enabledSet(Tab::Services), (std::set<int>{2, 10, 11, 12, 13, 14, 16}));
  EXPECT_EQ(enabledSet(Tab::Network), (std::set<int>{2, 6, 7, 8, 16}));

  EXPECT_EQ(TabSwitchFor(Tab::Tasks).work, TabWork::Nothing);
  EXPECT_EQ(TabSwitchFor(Tab::Processes).work, TabWork::Refresh);
  EXPECT_EQ(TabSwitchFor(Tab::Services).work, TabWork::Refresh);
  EXPECT_EQ(TabSwitchFor(Tab::Network).work, TabWork::WatchNetwork);
}

}  // namespace
