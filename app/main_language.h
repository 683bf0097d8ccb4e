#pragma once
// Which language key labels which element of the main window and the tray
// menu, in the order they are labelled, and every key the program reads.
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/main_commands.h"
#include "localization/language_keys.h"

namespace dravik {

enum class ElementKind { MenuItem, ToolTip, TabCaption, ColumnHeader, StatusTip };

struct LanguageElement {
  ElementKind kind;
  int index;      // menu-table index, toolbar position, tab (1-4) for its caption or its list, or status panel
  int column;     // 1-based, for a column header
  const char* key;  // section "Main"
};

// The elements of the main window the language labels, in labelling order:
// menus, toolbar tips, tabs, column headers, status-bar tips. The named
// message texts follow them (MessageTextKeys).
std::vector<LanguageElement> MainLanguageElements();

// A tab's caption, which also follows its list's row count in the status bar.
TextKey TabLabelKey(Tab tab);

struct LanguageKey {
  std::string section;
  std::string key;
  bool operator==(const LanguageKey&) const = default;
};
// Every key any part of the program reads from a language file.
std::vector<LanguageKey> AllLanguageKeys();

}  // namespace dravik
