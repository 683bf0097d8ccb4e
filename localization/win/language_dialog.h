#pragma once
// The language dialog: the user picks one of the language files beside the
// program, reads the dialog in that language while browsing, and Apply
// stores the choice for the next start.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "localization/language_list.h"
#include "localization/read_ini.h"
#include "ui/win/dialog_support.h"
#include "platform/profile_files.h"
#include "platform/shell.h"
#include "platform/window_manager.h"

namespace dravik {

class LanguageDialog {
 public:
  struct Services {
    platform::ProfileFiles& profiles;
    platform::FileListing& files;
    platform::Shell& shell;
    platform::UserInterface& ui;
    // The language name kept in the settings, and keeping a new one there.
    std::function<std::wstring()> storedLanguage;
    std::function<void(const std::wstring& name)> storeLanguage;
  };

  // Control ids, by which tests and keyboard handling find the controls.
  enum Control : int {
    kApply = IDOK,
    kCancel = IDCANCEL,
    kSelectLabel = 101,
    kLanguageList = 102,
    kTranslatorName = 103,
    kTranslatorEmail = 104,
    kTranslatorWeb = 105,
  };

  // `current` is the language the program runs in.
  LanguageDialog(HINSTANCE instance, Services services, std::wstring programFolder,
                 const Language& current);
  ~LanguageDialog();
  LanguageDialog(const LanguageDialog&) = delete;
  LanguageDialog& operator=(const LanguageDialog&) = delete;

  // File, Language: shows the dialog (modeless, without owner), creating it
  // first when it does not exist; a new dialog lists the files again and
  // preselects the stored language.
  void open();
  // The dialog's part of labelling the program from its current language
  // ("Tray" 3 to 6 and the translator's labels). Creates the dialog hidden
  // when it does not exist yet.
  void languageSysTrayAndLanguage();
  // Closes the dialog without storing anything.
  void close();

  HWND window() const { return window_; }
  // The names the list offers, and the selected one ("" for none).
  std::vector<std::wstring> names() const { return names_; }
  std::wstring selectedName() const;
  // The file of the selected language; "" while nothing is selected.
  const std::wstring& previewFile() const { return previewFile_; }
  // Picks an entry as the user would; false when the list has no such name.
  bool select(const std::wstring& name);

  // For the program's message loop: Tab and the dialog keys between controls.
  bool translateKeyboard(MSG& message);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void create();
  void fillLanguageList();
  void preview();
  void apply();
  void openLink(int control, bool mail);
  void layOut();
  HWND control(int id) const { return ::GetDlgItem(window_, id); }
  void setText(int id, const std::wstring& text);
  void setCharset(int id, const std::wstring& characterSet);

  HINSTANCE instance_;
  Services services_;
  std::wstring programFolder_;
  const Language& current_;
  HWND window_ = nullptr;
  std::vector<std::wstring> names_;
  std::wstring previewFile_;
  CharsetFonts fonts_;
};

}  // namespace dravik
