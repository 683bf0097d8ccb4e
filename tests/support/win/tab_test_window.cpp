#include "support/win/tab_test_window.h"

#include <cstdio>

namespace tabtest {

int ScriptedUi::messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) {
  boxes.push_back({text, title, flags});
  if (answers.empty()) return platform::mb::kAnswerOk;
  const int answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

void ScriptedUi::pumpMessages() {
  ++pumps;
  real_.pumpMessages();
  if (onPump) onPump();
}

TabWindow::TabWindow(dravik::Tab tab) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  window_ = ::CreateWindowExW(0, L"STATIC", L"Page test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 900, 500, nullptr,
                              nullptr, nullptr, nullptr);
  list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                           0, 0, 880, 460, window_, nullptr, nullptr, nullptr);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < 8; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 105;
    column.pszText = const_cast<wchar_t*>(L"Column");
    ListView_InsertColumn(list, i, &column);
  }
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  languageFile_ = std::wstring(temp) + L"dravik-page-test-" + std::to_wstring(::GetCurrentProcessId()) + L".lng";
  if (std::FILE* file = _wfopen(languageFile_.c_str(), L"wb")) {
    std::fputs("[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n77=Running\r\n89=Service Error\r\n97=Network\r\n"
               "99=Services\r\n101=Stopped\r\n102=Start Pending\r\n103=Stop Pending\r\n104=Continue Pending\r\n"
               "105=Pause Pending\r\n106=Paused\r\n109=Close Connection\r\n",
               file);
    std::fclose(file);
  }
  language_ = std::make_unique<dravik::Language>(profiles_, languageFile_);
  context.instance = ::GetModuleHandleW(nullptr);
  context.mainWindow = window_;
  context.language = language_.get();
  context.messages = &messages_;
  context.ui = &ui;
  context.setStatusPanel = [this](int panel, const std::wstring& text) {
    if (panel == 1) panel1.push_back(text);
  };
  context.selectedTab = [tab] { return tab; };
  context.enableMainWindow = [](bool) {};
  context.showPopupMenu = [this, tab](dravik::Tab asked, POINT) { popups += asked == tab; };
}

TabWindow::~TabWindow() {
  ::DestroyWindow(window_);
  ::DeleteFileW(languageFile_.c_str());
}

int TabWindow::rows() const { return ListView_GetItemCount(list); }

std::wstring TabWindow::text(int row, int column) const {
  wchar_t buffer[1024] = {};
  ListView_GetItemText(list, row, column, buffer, 1024);
  return buffer;
}

// The item's parameter or picture, as LVIF_PARAM or LVIF_IMAGE asks.
static LVITEMW Item(HWND list, int row, UINT mask) {
  LVITEMW item{};
  item.mask = mask;
  item.iItem = row;
  ListView_GetItem(list, &item);
  return item;
}

LPARAM TabWindow::tag(int row) const { return Item(list, row, LVIF_PARAM).lParam; }

int TabWindow::image(int row) const { return Item(list, row, LVIF_IMAGE).iImage; }

int TabWindow::selected() const { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

void TabWindow::select(int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  if (row >= 0) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int TabWindow::find(int column, const std::wstring& value) const {
  for (int i = 0; i < rows(); ++i) {
    if (text(i, column) == value) return i;
  }
  return -1;
}

bool TabWindow::notify(dravik::TabPage& page, UINT code) {
  NMHDR header{list, 1, code};
  LRESULT result = 0;
  return page.listNotify(header, result);
}

}  // namespace tabtest
