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
#include "ui/win/modeless_dialog.h"
#include "platform/profile_files.h"
#include "platform/shell.h"
#include "platform/window_manager.h"

namespace dravik {

class LanguageDialog final : public ModelessDialog {
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

  // File, Language: shows the dialog (modeless, without owner), creating it
  // first when it does not exist; a new dialog lists the files again and
  // preselects the stored language.
  void open();
  // The dialog's part of labelling the program from its current language
  // ("Tray" 3 to 6 and the translator's labels). Creates the dialog hidden
  // when it does not exist yet.
  void languageSysTrayAndLanguage();
  // close() leaves the stored language as it is.

  // The names the list offers, and the selected one ("" for none).
  std::vector<std::wstring> names() const { return names_; }
  std::wstring selectedName() const;
  // The file of the selected language; "" while nothing is selected.
  const std::wstring& previewFile() const { return previewFile_; }
  // Picks an entry as the user would; false when the list has no such name.
  bool select(const std::wstring& name);

 private:
  void command(int id, int code, LPARAM lParam) override;
  void destroyed() override;
  void create();
  void fillLanguageList();
  void preview();
  void apply();
  void openLink(int control, bool mail);
  void layOut();

  Services services_;
  std::wstring programFolder_;
  const Language& current_;
  std::vector<std::wstring> names_;
  std::wstring previewFile_;
};

}  // namespace dravik
