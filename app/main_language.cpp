#include "app/main_language.h"

#include <algorithm>
#include <set>
#include <string>

#include "app/list_columns.h"
#include "localization/message_texts.h"
#include "shell/tray_mouse.h"

namespace dravik {

namespace {

struct StatusTipKey {
  int panel;
  const char* key;
};
constexpr StatusTipKey kStatusTips[] = {{2, "69"}, {3, "71"}, {4, "73"}};

// Texts that the tabs, the dialogs and the start-up read straight from the
// language file when they show them, rather than from a labelled element.
constexpr const char* kDirectlyRead[][2] = {
    {"Main", "68"},  {"Main", "70"},  {"Main", "72"},   // status-bar figure labels
    {"Main", "75"},  {"Main", "76"},                     // help file cannot be opened
    {"Main", "78"},                                      // a task that does not respond
    {"Main", "80"},  {"Main", "81"},  {"Main", "82"},  {"Main", "83"},
    {"Main", "8301"}, {"Main", "84"}, {"Main", "85"},   // priority bands
    {"Main", "89"},                                      // a service operation failed
    {"Main", "98"},                                      // the Run dialog's prompt
    {"Main", "101"}, {"Main", "102"}, {"Main", "103"}, {"Main", "104"},
    {"Main", "105"},                                     // service states
    {"Main", "113"},                                     // no newer version
    {"About", "1"},  {"About", "2"},  {"About", "4"},  {"About", "6"},  {"About", "7"},
    {"Tray", "3"},   {"Tray", "4"},   {"Tray", "5"},   {"Tray", "6"},
    {"Tray", "7"},   {"Tray", "8"},                      // the language dialog
    {"Splash", "5"},                                     // unsupported system
    {"LANGUAGE", "CharacterSet"}, {"LANGUAGE", "translator"},
    {"LANGUAGE", "e-mail"}, {"LANGUAGE", "web"},
};

}  // namespace

const char* TabLabelKey(Tab tab) {
  switch (tab) {
    case Tab::Tasks: return kTasksLabelKey;
    case Tab::Processes: return kProcessesLabelKey;
    case Tab::Services: return kServicesLabelKey;
    case Tab::Network: return kNetworkLabelKey;
  }
  return kTasksLabelKey;
}

std::vector<LanguageElement> MainLanguageElements() {
  std::vector<LanguageElement> elements;

  // Menus: the first item of each key up to "25" in key order, then the
  // items that share a key with an earlier one or have a later key.
  std::vector<LanguageElement> first;
  std::vector<LanguageElement> later;
  std::set<std::string> seen;
  for (const MenuItemDef& item : MenuItems()) {
    if (!item.key) continue;
    LanguageElement e{ElementKind::MenuItem, static_cast<int>(item.id), 0, item.key};
    const bool fresh = seen.insert(item.key).second;
    (fresh && std::stoi(item.key) <= 25 ? first : later).push_back(e);
  }
  const auto byKey = [](const LanguageElement& a, const LanguageElement& b) {
    return std::stoi(a.key) < std::stoi(b.key);
  };
  std::stable_sort(first.begin(), first.end(), byKey);
  std::stable_sort(later.begin(), later.end(), byKey);
  elements.insert(elements.end(), first.begin(), first.end());
  elements.insert(elements.end(), later.begin(), later.end());

  for (const ToolbarButtonDef& button : ToolbarButtons()) {
    if (button.tipKey) elements.push_back({ElementKind::ToolTip, button.position, 0, button.tipKey});
  }
  for (Tab tab : {Tab::Tasks, Tab::Processes, Tab::Services, Tab::Network}) {
    elements.push_back({ElementKind::TabCaption, static_cast<int>(tab), 0, TabLabelKey(tab)});
  }
  for (Tab tab : kTabs) {
    int column = 0;
    for (const ListColumn& c : ListColumns(tab)) {
      ++column;
      if (c.key) elements.push_back({ElementKind::ColumnHeader, static_cast<int>(tab), column, c.key});
    }
  }
  for (const StatusTipKey& tip : kStatusTips) {
    elements.push_back({ElementKind::StatusTip, tip.panel, 0, tip.key});
  }
  return elements;
}

std::vector<LanguageKey> AllLanguageKeys() {
  std::vector<LanguageKey> keys;
  const auto add = [&](const std::string& section, const std::string& key) {
    LanguageKey k{section, key};
    if (std::find(keys.begin(), keys.end(), k) == keys.end()) keys.push_back(k);
  };
  for (const LanguageElement& e : MainLanguageElements()) add("Main", e.key);
  for (const MessageTextKey& m : MessageTextKeys()) add(m.section, m.key);
  add("Tray", kTrayOpenKey);
  add("Tray", kTrayExitKey);
  for (const auto& [section, key] : kDirectlyRead) add(section, key);
  return keys;
}

}  // namespace dravik
