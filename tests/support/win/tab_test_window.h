#pragma once
// What the Wine tests of the tab pages share: a top-level window standing in
// for the main window, with a report list (eight columns unless told
// otherwise), a language file with the texts of every tab, and the context a
// page gets from the main window, its message boxes either real (answered by
// the test) or scripted: recorded and answered from `ui.answers` (OK when none
// is left), since a real box would stop the test.
#include <windows.h>
#include <commctrl.h>

#include <map>
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

class TabWindow {
 public:
  explicit TabWindow(dravik::Tab shown, int columns = 8, bool scripted = true) : tab(shown) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    window = ::CreateWindowExW(0, L"STATIC", L"Dravik Task Manager", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 900, 500,
                               nullptr, nullptr, nullptr, nullptr);
    list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                             0, 0, 880, 460, window, nullptr, nullptr, nullptr);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 105;
    for (int i = 0; i < columns; ++i) ListView_InsertColumn(list, i, &column);
    context.instance = ::GetModuleHandleW(nullptr);
    context.mainWindow = window;
    context.language = &language_.language();
    context.messages = &messages_;
    context.ui = scripted ? static_cast<platform::UserInterface*>(&ui) : &realUi_;
    context.setStatusPanel = [this](int panel, const std::wstring& text) { panels[panel].push_back(text); };
    context.selectedTab = [this] { return tab; };
    context.enableMainWindow = [this](bool on) {
      enables.push_back(on);
      ::EnableWindow(window, on);
    };
  }
  ~TabWindow() { ::DestroyWindow(window); }

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
  void select(int row) {  // the only selected row; -1: none
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (row >= 0) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  int find(int column, const std::wstring& value) const {  // the first row showing `value`, or -1
    for (int i = 0; i < rows(); ++i) {
      if (text(i, column) == value) return i;
    }
    return -1;
  }

  HWND window = nullptr, list = nullptr;
  fakes::FakeUserInterface ui;
  dravik::Tab tab;
  std::map<int, std::vector<std::wstring>> panels;  // every text written to each status panel
  std::vector<std::wstring>& panel1 = panels[1];
  std::vector<bool> enables;  // every enabling and disabling of the main window
  dravik::AppContext context;

 private:
  platform::win32::Win32UserInterface realUi_;
  fakes::TempLanguage language_{
      "37=Task\r\n39=PID\r\n40=Process\r\n67=Processes\r\n68=CPU Usage\r\n70=Mem Usage\r\n72=Available\r\n"
      "74=Tasks\r\n77=Running\r\n78=Not Responding\r\n80=Idle\r\n81=Low\r\n82=Below normal\r\n83=Normal\r\n"
      "8301=Above normal\r\n84=High\r\n85=Real time\r\n86=Process path not found!\r\n"
      "87=Are you sure you want to terminate this process?\r\n89=Service Error\r\n97=Network\r\n99=Services\r\n"
      "101=Stopped\r\n102=Start Pending\r\n103=Stop Pending\r\n104=Continue Pending\r\n105=Pause Pending\r\n"
      "106=Paused\r\n109=Close Connection\r\n"};
  dravik::MessageTexts messages_;  // the English texts
};

}  // namespace tabtest
