#include "app/main_commands.h"
#include "app/tab_descriptions.h"

#include <gtest/gtest.h>

#include <optional>

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
  const auto reaches = [](Command c) {
    bool found = c == C::None || IsProgramCommand(c);
    for (Tab tab : kTabs) found = found || CommandPage(c, tab).has_value();
    return found;
  };
  for (const MenuItemDef& item : MenuItems()) EXPECT_TRUE(reaches(item.command)) << "menu item " << item.key;
  for (const ToolbarButtonDef& button : ToolbarButtons()) EXPECT_TRUE(reaches(button.command)) << button.tipKey;
  // A popup is shown over its own tab's list: what it offers, that tab does.
  for (const TabDescription& tab : TabDescriptions()) {
    for (const PopupItem& item : tab.popup) {
      if (item.command != C::None) { EXPECT_EQ(CommandPage(item.command, tab.tab), tab.tab) << item.key; }
    }
  }
}

}  // namespace
