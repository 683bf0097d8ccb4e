#include "app/main_language.h"

#include <algorithm>
#include <set>
#include <string>

#include "app/tab_descriptions.h"
#include "localization/message_texts.h"
#include "localization/language_keys.h"

namespace dravik {

namespace {

struct StatusTipKey {
  int panel;
  const char* key;
};
constexpr StatusTipKey kStatusTips[] = {{2, "69"}, {3, "71"}, {4, "73"}};

}  // namespace

TextKey TabLabelKey(Tab tab) { return DescriptionOf(tab).caption; }

std::vector<LanguageElement> MainLanguageElements() {
  std::vector<LanguageElement> elements;

  // Menus: the first item of each key up to "25" in key order, then the
  // items that share a key with an earlier one or have a later key.
  std::vector<LanguageElement> first;
  std::vector<LanguageElement> later;
  std::set<std::string> seen;
  const auto items = MenuItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItemDef& item = items[i];
    if (!item.key) continue;
    LanguageElement e{ElementKind::MenuItem, static_cast<int>(i), 0, item.key};
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

  const auto buttons = ToolbarButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].tipKey) elements.push_back({ElementKind::ToolTip, static_cast<int>(i) + 1, 0, buttons[i].tipKey});
  }
  for (Tab tab : kTabs) {
    elements.push_back({ElementKind::TabCaption, static_cast<int>(tab), 0, TabLabelKey(tab).key});
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
  for (const TextKey& k : kNamedTextKeys) add(k.section, k.key);
  return keys;
}

}  // namespace dravik
