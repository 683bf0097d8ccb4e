// Putting the language file's texts on the main window.
#include "app/win/main_window.h"

#include <commctrl.h>

#include "app/main_language.h"

namespace dravik {

namespace {

// A character-set code as the language file gives it: a number from 0 to 255.
std::optional<BYTE> CharacterSetCode(const std::wstring& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (value > 255) return std::nullopt;
  return static_cast<BYTE>(value);
}

}  // namespace

void MainWindow::setMenuText(std::size_t index, const std::wstring& text) {
  if (index >= menuPlaces_.size() || !menuPlaces_[index].first) return;
  std::wstring shown = text;
  if (const wchar_t* shortcut = MenuItems()[index].shortcut) shown += std::wstring(L"\t") + shortcut;
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = shown.data();
  ::SetMenuItemInfoW(menuPlaces_[index].first, menuPlaces_[index].second, TRUE, &info);
}

void MainWindow::setStatusFontCharacterSet() {
  // A value that is not a character-set code leaves the font as it is.
  const auto code = CharacterSetCode(language_->characterSet());
  if (!code) return;
  LOGFONTW font{};
  HFONT current = reinterpret_cast<HFONT>(::SendMessageW(statusBar_, WM_GETFONT, 0, 0));
  ::GetObjectW(current ? current : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)),
               sizeof(font), &font);
  font.lfCharSet = *code;
  platform::win32::UniqueFont replacement(::CreateFontIndirectW(&font));
  if (!replacement) return;
  ::SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(replacement.get()), TRUE);
  // The old font may go only once the status bar no longer draws with it.
  statusFont_ = std::move(replacement);
}

void MainWindow::languageMain() {
  for (const LanguageElement& e : MainLanguageElements()) {
    std::wstring text = language_->main(e.key);
    switch (e.kind) {
      case ElementKind::MenuItem:
        setMenuText(static_cast<std::size_t>(e.index), text);
        break;
      case ElementKind::ToolTip:
        tips_[e.index - 1] = std::move(text);
        break;
      case ElementKind::TabCaption: {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        ::SendMessageW(tabStrip_, TCM_SETITEMW, e.index - 1, reinterpret_cast<LPARAM>(&item));
        break;
      }
      case ElementKind::ColumnHeader: {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text.data();
        ::SendMessageW(list(static_cast<Tab>(e.index)), LVM_SETCOLUMNW, e.column - 1, reinterpret_cast<LPARAM>(&column));
        break;
      }
      case ElementKind::StatusTip:
        ::SendMessageW(statusBar_, SB_SETTIPTEXTW, e.index - 1, reinterpret_cast<LPARAM>(text.c_str()));
        break;
    }
  }
  setStatusFontCharacterSet();
  // The named message texts are never shown as controls: message boxes show
  // them in the system's font, so they carry no character set of their own.
  messages_.load(*language_);
  ::DrawMenuBar(window_);
}

void MainWindow::labelTrayAndLanguageDialog() {
  if (options_.labelTray) options_.labelTray();
  if (options_.dialogs.labelLanguageDialog) options_.dialogs.labelLanguageDialog();
}

}  // namespace dravik
