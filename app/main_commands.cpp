#include "app/main_commands.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/tab_descriptions.h"

namespace dravik {

namespace {

using C = Command;
using M = Menu;

// The menu bar; the tabs' popups follow it, as each tab describes its own.
constexpr MenuItemDef kMenuBar[] = {
    {M::Bar, C::None, L"File", "1", M::File},
    {M::File, C::Language, L"Language", "107"},
    {M::File, C::None, nullptr, nullptr},
    {M::File, C::Exit, L"Exit", "2"},
    {M::Bar, C::None, L"View", "3", M::View},
    {M::View, C::ViewWinServices, L"Win Services", "4", M::Bar, true},
    {M::View, C::ViewDriverServices, L"Driver Services", "5"},
    {M::Bar, C::None, L"Help", "6", M::Help},
    {M::Help, C::HelpFile, L"Help...", "7", M::Bar, false, L"F1"},
    {M::Help, C::CheckForUpdates, L"Check for updates...", "8"},
    {M::Help, C::None, nullptr, nullptr},
    {M::Help, C::About, L"About...", "10"},
};

constexpr ToolbarButtonDef kToolbar[] = {
    {C::None, 0, nullptr, nullptr, nullptr},
    {C::Refresh, 1, L"Refresh", "26", L"TB_REFRESH"},
    {C::ShowWindow, 2, L"Show selected window", "27", L"TB_SHOWWINDOW"},
    {C::EndTask, 3, L"End selected task", "28", L"TB_ENDTASK"},
    {C::None, 0, nullptr, nullptr, nullptr},
    {C::Run, 4, L"Run new process", "29", L"TB_RUN"},
    {C::TerminateProcess, 5, L"Terminate selected process", "30", L"TB_TERMINATE"},
    {C::FileProperties, 6, L"Selected item properties", "31", L"TB_PROPERTIES"},
    {C::None, 0, nullptr, nullptr, nullptr},
    {C::StartService, 7, L"Start selected service", "32", L"TB_START"},
    {C::StopService, 8, L"Stop selected service", "33", L"TB_STOP"},
    {C::PauseService, 9, L"Pause selected service", "34", L"TB_PAUSE"},
    {C::ResumeService, 10, L"Resume selected service", "35", L"TB_RESUME"},
    {C::DeleteService, 11, L"Delete selected service", "36", L"TB_DELETE"},
    {C::None, 0, nullptr, nullptr, nullptr},
    {C::About, 12, L"About...", "10", L"TB_ABOUT"},
};
static_assert(std::size(kToolbar) == kToolbarButtonCount);

template <class List>
bool Contains(const List& list, Command command) {
  return std::find(list.begin(), list.end(), command) != list.end();
}

}  // namespace

std::span<const MenuItemDef> MenuItems() {
  static const std::vector<MenuItemDef> items = [] {
    std::vector<MenuItemDef> all(std::begin(kMenuBar), std::end(kMenuBar));
    for (const TabDescription& tab : TabDescriptions()) {
      const Menu popup = static_cast<Menu>(static_cast<int>(M::PopupTasks) + TabIndex(tab.tab));
      for (const PopupItem& item : tab.popup) {
        all.push_back({item.inSubmenu ? M::PopupSubmenu : popup, item.command, item.text, item.key,
                       item.opensSubmenu ? M::PopupSubmenu : M::Bar});
      }
    }
    return all;
  }();
  return items;
}
std::span<const ToolbarButtonDef> ToolbarButtons() { return kToolbar; }

bool IsProgramCommand(Command command) {
  return command >= C::Refresh && command <= C::Exit;
}

std::optional<Tab> CommandPage(Command command, Tab selected) {
  if (Contains(DescriptionOf(selected).commands, command)) return selected;
  std::optional<Tab> only;
  for (const TabDescription& t : TabDescriptions()) {
    if (!Contains(t.commands, command)) continue;
    if (only) return std::nullopt;
    only = t.tab;
  }
  return only;
}

bool ToolbarEnabled(Command command, Tab tab) {
  return command == C::Refresh || command == C::About || Contains(DescriptionOf(tab).buttons, command);
}

TabWork TabWorkFor(Tab tab) { return DescriptionOf(tab).work; }

}  // namespace dravik
