#pragma once
// What the Wine tests of the Services and Network pages share: a top-level
// window with a report list of eight columns (as the main window makes them),
// a language file with the two pages' texts, a message-box double and the
// context a page gets from the main window.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win/tab_page.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_window_manager.h"

namespace tabtest {

// Records every message box and answers it from a script (OK when the script
// is empty); a real box would stop the test. Pumping handles real messages.
class ScriptedUi final : public platform::UserInterface {
 public:
  struct Box {
    std::wstring text, title;
    unsigned flags;
  };
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  void pumpMessages() override;
  std::vector<Box> boxes;
  std::vector<int> answers;
  int pumps = 0;
  std::function<void()> onPump;  // runs after each pump

 private:
  platform::win32::Win32UserInterface real_;
};

class TabWindow {
 public:
  explicit TabWindow(dravik::Tab tab);
  ~TabWindow();

  int rows() const;
  std::wstring text(int row, int column) const;
  LPARAM tag(int row) const;
  int image(int row) const;
  int selected() const;
  void select(int row);  // -1: select nothing
  int find(int column, const std::wstring& value) const;  // the first row showing `value`, or -1
  bool notify(dravik::TabPage& page, UINT code);           // a list notification, as the main window passes it

  HWND list = nullptr;
  ScriptedUi ui;
  dravik::AppContext context;
  std::vector<std::wstring> panel1;  // every text written to status panel 1
  int popups = 0;                    // popup menus asked for this page

 private:
  HWND window_ = nullptr;
  std::wstring languageFile_;
  platform::win32::Win32ProfileFiles profiles_;
  std::unique_ptr<dravik::Language> language_;
  dravik::MessageTexts messages_;
};

}  // namespace tabtest
