#pragma once
// What the Tasks and Processes tests under Wine share: a top-level window
// standing in for the main window, holding a report list view, with the
// AppContext a tab page gets and a language file with the texts of both tabs.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "ui/win/tab_page.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_window_manager.h"
#include "support/win/ui_test_support.h"
#include "ui/win/list_view.h"

namespace processtest {

class TestWindow {
 public:
  explicit TestWindow(int columns);
  ~TestWindow();
  int rows() const { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
  std::wstring cell(int row, int column) const { return dravik::ListViewText(list, row, column); }
  int image(int row) const;
  int rowWith(int column, const std::wstring& text) const;  // -1 when none
  void select(int row);  // the only selected row

  HWND window = nullptr, list = nullptr;
  std::wstring languageFile;
  platform::win32::Win32ProfileFiles profiles;
  dravik::Language language;
  dravik::MessageTexts messages;
  platform::win32::Win32UserInterface ui;  // real boxes, answered by the tests
  dravik::AppContext app;
  dravik::Tab tab = dravik::Tab::Tasks;
  std::map<int, std::vector<std::wstring>> panels;  // every text written to each panel
  std::vector<bool> enables;
};

}  // namespace processtest
