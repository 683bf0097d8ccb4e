#pragma once
// The About box: the program's name, version, rights notice and web site.
#include <windows.h>

#include <string>

#include "localization/read_ini.h"
#include "ui/win/dialog_support.h"
#include "platform/shell.h"
#include "platform/win32/handles.h"
#include "shell/update_check.h"

namespace dravik {

class AboutBox {
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
  ~AboutBox();
  AboutBox(const AboutBox&) = delete;
  AboutBox& operator=(const AboutBox&) = delete;

  // Help, About... and the toolbar's About button: shows the box (modeless,
  // without owner), labelled from the language file.
  void show();
  // Labels the box from the program's language; creates it hidden when it
  // does not exist yet, as labelling the program at start does.
  void languageAbout();
  // Sets the freeware line; runs each time the box is opened.
  void prikaziIme();
  void close();

  HWND window() const { return window_; }
  bool translateKeyboard(MSG& message);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void create();
  void label(int id, const std::wstring& text, HFONT font);
  void layOut();
  HWND control(int id) const { return ::GetDlgItem(window_, id); }

  HINSTANCE instance_;
  const Language& language_;
  platform::Shell& shell_;
  std::wstring programFolder_;
  std::wstring webSite_;
  HWND window_ = nullptr;
  CharsetFonts fonts_;
  platform::win32::UniqueFont titleFont_;
  platform::win32::UniqueIcon picture_;
};

}  // namespace dravik
