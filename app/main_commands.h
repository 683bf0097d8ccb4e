#pragma once
// The main window's menus and toolbar as tables, and the one table that says
// what each button key and menu item does.
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "ui/commands.h"

namespace dravik {

// Menu items by their Win32 command id. The menu titles and the submenu have
// ids too: the language labels them like any item.
enum class MenuId : int {
  None = 0,
  // the menu bar and the popups the lists show (not items themselves)
  MenuBar = 90,
  PopupTasks,
  PopupProcesses,
  PopupServices,
  PopupNetwork,
  File = 100,
  Language,
  Exit,
  View,
  ShowWinServ,
  ShowDrvServ,
  Help,
  HelpFile,
  Update,
  About,
  ShowWinTask,
  EndTask,
  TerminateProcess,
  FileProperties,
  StartServ,
  StopServ,
  PauseServ,
  ResumeServ,
  StartupType,
  BootServ,
  SystemServ,
  AutomaticServ,
  ManualServ,
  DisabledServ,
  DeleteServ,
  CloseConnection,
  TerminateNetworkPrc,
  FileNetworkProperties,
};

// One entry of a menu; a separator has no id and no text.
struct MenuItemDef {
  MenuId id;
  MenuId parent;  // MenuBar, a popup, or the title/submenu it sits under
  const wchar_t* text;
  const char* key;  // section "Main"
  bool checkedAtStart = false;
  const wchar_t* shortcut = nullptr;  // shown right-aligned after a tab
};
// In the order they appear; a parent comes before its items.
std::span<const MenuItemDef> MenuItems();

// The 16 toolbar positions; a separator has no key.
struct ToolbarButtonDef {
  int position;           // 1-based
  const wchar_t* key;     // what the dispatch knows it by
  int picture;            // 1-based into the toolbar's pictures, 0 for a separator
  const wchar_t* tip;     // before a language is applied
  const char* tipKey;     // section "Main"
  const wchar_t* iconName;
};
inline constexpr int kToolbarButtonCount = 16;
std::span<const ToolbarButtonDef> ToolbarButtons();
// The command id a toolbar position sends (positions 1..16).
inline constexpr int ToolbarCommandId(int position) { return 200 + position; }

enum class MainAction { Nothing, Refresh, PageCommand, Run, About, HelpFile, Update, Language, Exit };

// Which page carries a command out, and which of its commands it is.
struct PageTarget {
  Tab page;
  Command command;
};

struct CommandEntry {
  const wchar_t* buttonKey;  // null when no toolbar button sends it
  MenuId menu;               // None when no menu item sends it
  MainAction action;
  // For PageCommand: the target by the selected tab (index tab - 1); an empty
  // slot means the command does not apply on that tab.
  std::array<std::optional<PageTarget>, 4> targets{};
};

struct ResolvedCommand {
  MainAction action = MainAction::Nothing;
  Tab page = Tab::Tasks;  // for Refresh and PageCommand
  Command command{};      // for PageCommand
  bool operator==(const ResolvedCommand&) const = default;
};
// Exact, case-sensitive keys; an unknown key or id does nothing.
ResolvedCommand ResolveButton(std::wstring_view key, Tab selected);
ResolvedCommand ResolveMenu(MenuId id, Tab selected);
// The entry behind a menu item, for its check mark; null when there is none.
const CommandEntry* FindMenuEntry(MenuId id);

// What a tab switch does besides moving the pages.
enum class TabWork {
  Nothing,        // the timer keeps the list current
  Refresh,        // rebuild the list now
  WatchNetwork,   // count rows into the status bar and let the page's timer run
};
struct TabSwitch {
  std::array<bool, kToolbarButtonCount> enabled;  // by position - 1
  TabWork work;
};
TabSwitch TabSwitchFor(Tab tab);

}  // namespace dravik
