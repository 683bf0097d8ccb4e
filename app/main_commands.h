#pragma once
// The main window's menus and toolbar as tables of commands, and which page
// carries out a command on which tab.
#include <cstddef>
#include <optional>
#include <span>

#include "ui/commands.h"
#include "ui/tab_description.h"

namespace dravik {

// The menus: the menu bar and its menus, the lists' popups in tab order, and
// the one submenu a popup has (Startup Type).
enum class Menu { Bar, File, View, Help, PopupTasks, PopupProcesses, PopupServices, PopupNetwork, PopupSubmenu };

// One entry of a menu: a command, the title of a menu it opens, or a
// separator (no text).
struct MenuItemDef {
  Menu parent;
  Command command;         // None for a title or a separator
  const wchar_t* text;     // before a language is applied
  const char* key;         // section "Main"
  Menu opens = Menu::Bar;  // for a title: the menu it opens
  bool checkedAtStart = false;
  const wchar_t* shortcut = nullptr;  // shown right-aligned after a tab
};
// In the order they appear; a menu's title comes before its items.
std::span<const MenuItemDef> MenuItems();

// The toolbar's buttons in order; a separator has no command.
struct ToolbarButtonDef {
  Command command;
  int picture;           // 1-based into the toolbar's pictures, 0 for a separator
  const wchar_t* tip;    // before a language is applied
  const char* tipKey;    // section "Main"
  const wchar_t* iconName;
};
inline constexpr std::size_t kToolbarButtonCount = 16;  // separators included
std::span<const ToolbarButtonDef> ToolbarButtons();

// Refresh, Run, About, the help file, the update check, the language dialog
// and Exit: the main window's own commands, whatever tab is selected.
bool IsProgramCommand(Command command);

// The tab whose page carries `command` out while `selected` is the selected
// tab: the selected tab when its page carries it, otherwise the one tab that
// does; none when no tab, or more than one other tab, does.
std::optional<Tab> CommandPage(Command command, Tab selected);

// Whether the toolbar button of `command` is enabled while `tab` is selected.
bool ToolbarEnabled(Command command, Tab tab);

TabWork TabWorkFor(Tab tab);

}  // namespace dravik
