#pragma once
// What the main window needs to know of a tab, kept in the tab's own folder:
// its caption, its list's columns, the commands its page carries out, the
// toolbar buttons it enables and what selecting it does.
#include <span>

#include "localization/language_keys.h"
#include "ui/commands.h"
#include "ui/list_column.h"

namespace dravik {

// What a tab switch does besides moving the pages.
enum class TabWork {
  Nothing,        // the timer keeps the list current
  Refresh,        // rebuild the list now
  WatchNetwork,   // count rows into the status bar and let the page's timer run
};

// An item of a tab's popup menu: a command, a separator (no text), or the
// title of a submenu, whose items follow it marked `inSubmenu`.
struct PopupItem {
  Command command;      // None for a separator or a submenu's title
  const wchar_t* text;  // before a language is applied
  const char* key;      // section "Main"
  bool opensSubmenu = false;
  bool inSubmenu = false;
};

struct TabDescription {
  Tab tab;
  TextKey caption;                      // also the status-bar label of its row count
  std::span<const ListColumn> columns;
  std::span<const PopupItem> popup;     // shown on a right click over a row
  std::span<const Command> commands;    // carried out by its page
  std::span<const Command> buttons;     // enabled on the toolbar, besides Refresh and About
  TabWork work;
};

}  // namespace dravik
