#pragma once
// The About box: the program's name, version, rights notice and web site.
#include <windows.h>

#include <string>

#include "localization/read_ini.h"
#include "ui/win/modeless_dialog.h"
#include "platform/shell.h"
#include "platform/win32/handles.h"
#include "shell/update_check.h"

namespace dravik {

class AboutBox final : public ModelessDialog {
 public:
  enum Control : int {
    kClose = IDCANCEL,
    kPicture = 201,
    kTitle,
    kVersionLabel,   // "Version:", translated
    kVersionNumber,  // "2.1", placed right after the label
    kFreeware,
    kCopyright,
    kLink,
  };

  AboutBox(HINSTANCE instance, const Language& language, platform::Shell& shell,
           std::wstring programFolder, std::wstring webSite = kWebSite);

  // Help, About... and the toolbar's About button: shows the box (modeless,
  // without owner), labelled from the language file.
  void show();
  // Labels the box from the program's language; creates it hidden when it
  // does not exist yet, as labelling the program at start does.
  void languageAbout();
  // Sets the freeware line; runs each time the box is opened.
  void prikaziIme();

 private:
  void command(int id, int code, LPARAM lParam) override;
  void create();
  void label(int id, const std::wstring& text);
  void layOut();

  const Language& language_;
  platform::Shell& shell_;
  std::wstring programFolder_;
  std::wstring webSite_;
  platform::win32::UniqueFont titleFont_;
  platform::win32::UniqueIcon picture_;
};

}  // namespace dravik
