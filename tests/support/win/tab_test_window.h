#pragma once
// What the Wine tests of the Services and Network pages share: a top-level
// window with a report list of eight columns (as the main window makes them),
// a language file with the two pages' texts, a message-box double and the
// context a page gets from the main window.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/win/tab_page.h"
#include "doubles/fake_system.h"
#include "doubles/fake_tasks.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_window_manager.h"
#include "ui/win/list_view.h"

namespace tabtest {

// Records every message box and answers it from a script (OK when the script
// is empty); a real box would stop the test. Pumping handles real messages.
class ScriptedUi final : public platform::UserInterface {
 public:
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override {
    return script_.messageBox(text, title, flags);
  }
  void pumpMessages() override {
    script_.pumpMessages();
    real_.pumpMessages();
  }

 private:
  fakes::FakeUserInterface script_;
  platform::win32::Win32UserInterface real_;

 public:
  std::vector<fakes::FakeUserInterface::Box>& boxes = script_.boxes;
  std::vector<int>& answers = script_.answers;
};

class TabWindow {
 public:
  explicit TabWindow(dravik::Tab tab) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    window_ = ::CreateWindowExW(0, L"STATIC", L"Page test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 900, 500,
                                nullptr, nullptr, nullptr, nullptr);
    list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                             0, 0, 880, 460, window_, nullptr, nullptr, nullptr);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 105;
    for (int i = 0; i < 8; ++i) ListView_InsertColumn(list, i, &column);
    context.instance = ::GetModuleHandleW(nullptr);
    context.mainWindow = window_;
    context.language = &language_.language();
    context.messages = &messages_;
    context.ui = &ui;
    context.setStatusPanel = [this](int panel, const std::wstring& text) {
      if (panel == 1) panel1.push_back(text);
    };
    context.selectedTab = [tab] { return tab; };
    context.enableMainWindow = [](bool) {};
  }
  ~TabWindow() { ::DestroyWindow(window_); }

  int rows() const { return ListView_GetItemCount(list); }
  std::wstring text(int row, int column) const { return dravik::ListViewText(list, row, column); }
  int image(int row) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    return item.iImage;
  }
  int selected() const { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }
  void select(int row) {  // -1: select nothing
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (row >= 0) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  int find(int column, const std::wstring& value) const {  // the first row showing `value`, or -1
    for (int i = 0; i < rows(); ++i) {
      if (text(i, column) == value) return i;
    }
    return -1;
  }
  bool notify(dravik::TabPage& page, UINT code) {  // a list notification, as the main window passes it
    NMHDR header{list, 1, code};
    LRESULT result = 0;
    return page.listNotify(header, result);
  }

  HWND list = nullptr;
  ScriptedUi ui;
  dravik::AppContext context;
  std::vector<std::wstring> panel1;  // every text written to status panel 1

 private:
  HWND window_ = nullptr;
  fakes::TempLanguage language_{
      "77=Running\r\n89=Service Error\r\n97=Network\r\n99=Services\r\n101=Stopped\r\n102=Start Pending\r\n"
      "103=Stop Pending\r\n104=Continue Pending\r\n105=Pause Pending\r\n106=Paused\r\n109=Close Connection\r\n"};
  dravik::MessageTexts messages_;
};

}  // namespace tabtest
