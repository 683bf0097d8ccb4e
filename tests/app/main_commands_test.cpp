#include "app/main_commands.h"
#include "app/tab_descriptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace {

using namespace dravik;
using C = Command;
using T = Tab;

TEST(Dispatch, APageCommandGoesToTheSelectedTabThatCarriesItOrTheOnlyTabThatDoes) {
  struct Case {
    Command command;
    Tab selected;
    std::optional<Tab> page;
  };
  const Case cases[] = {
      // Terminate and Properties act on the Processes or the Network list;
      // the Tasks and Services tabs have nothing for them to do.
      {C::TerminateProcess, T::Processes, T::Processes}, {C::TerminateProcess, T::Network, T::Network},
      {C::FileProperties, T::Network, T::Network},       {C::FileProperties, T::Processes, T::Processes},
      {C::TerminateProcess, T::Tasks, std::nullopt},     {C::FileProperties, T::Services, std::nullopt},
      // The other row commands belong to one tab, whatever is selected.
      {C::StopService, T::Tasks, T::Services},           {C::StartupManual, T::Network, T::Services},
      {C::ViewDriverServices, T::Processes, T::Services}, {C::ShowWindow, T::Network, T::Tasks},
      {C::EndTask, T::Tasks, T::Tasks},                  {C::CloseConnection, T::Processes, T::Network},
      // The program's own commands and no command at all go to no page.
      {C::Refresh, T::Tasks, std::nullopt},              {C::Exit, T::Services, std::nullopt},
      {C::None, T::Tasks, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandPage(c.command, c.selected), c.page)
        << "command " << static_cast<int>(c.command) << " on tab " << static_cast<int>(c.selected);
  }
  for (C own : {C::Refresh, C::Run, C::About, C::HelpFile, C::CheckForUpdates, C::Language, C::Exit}) {
    EXPECT_TRUE(IsProgramCommand(own)) << static_cast<int>(own);
  }
  EXPECT_FALSE(IsProgramCommand(C::ShowWindow));
  EXPECT_FALSE(IsProgramCommand(C::None));
}

TEST(Dispatch, EveryMenuItemAndButtonSendsACommandSomethingCarriesOut) {
  for (const MenuItemDef& item : MenuItems()) {
    if (item.command == C::None) continue;
    bool reaches = IsProgramCommand(item.command);
    for (Tab tab : kTabs) reaches = reaches || CommandPage(item.command, tab).has_value();
    EXPECT_TRUE(reaches) << "menu item " << item.key;
  }
  // A popup is shown over its own tab's list: what it offers, that tab does.
  for (const TabDescription& tab : TabDescriptions()) {
    for (const PopupItem& item : tab.popup) {
      if (item.command != C::None) { EXPECT_EQ(CommandPage(item.command, tab.tab), tab.tab) << item.key; }
    }
  }
  for (const ToolbarButtonDef& button : ToolbarButtons()) {
    if (button.command == C::None) continue;
    bool reaches = IsProgramCommand(button.command);
    for (Tab tab : kTabs) reaches = reaches || CommandPage(button.command, tab).has_value();
    EXPECT_TRUE(reaches) << "button " << button.tipKey;
  }
}

TEST(TabSwitch, ButtonsAndWorkFollowTheSelectedTab) {
  // The toolbar's buttons by position: 2 Refresh, 3 Show Window, 4 End Task,
  // 6 Run, 7 Terminate, 8 Properties, 10-14 the service commands, 16 About.
  const std::tuple<Tab, std::set<int>, TabWork> cases[] = {
      {T::Tasks, {2, 3, 4, 16}, TabWork::Nothing},
      {T::Processes, {2, 6, 7, 8, 16}, TabWork::Refresh},
      {T::Services, {2, 10, 11, 12, 13, 14, 16}, TabWork::Refresh},
      {T::Network, {2, 6, 7, 8, 16}, TabWork::WatchNetwork}};
  const auto buttons = ToolbarButtons();
  ASSERT_EQ(buttons.size(), 16u);
  for (const auto& [tab, enabled, work] : cases) {
    std::set<int> on;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      if (buttons[i].command != C::None && ToolbarEnabled(buttons[i].command, tab)) on.insert(static_cast<int>(i) + 1);
    }
    EXPECT_EQ(on, enabled) << "tab " << static_cast<int>(tab);
    EXPECT_EQ(TabWorkFor(tab), work) << "tab " << static_cast<int>(tab);
  }
}

}  // namespace
