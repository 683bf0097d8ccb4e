#include "support/win/process_test_window.h"

#include <fstream>

namespace processtest {

namespace {

std::wstring WriteLanguageFile() {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"dravik-tabs-" +
                            std::to_wstring(::GetCurrentProcessId()) + L".lng";
  std::ofstream(path.c_str(), std::ios::binary)
      << "[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n37=Task\r\n39=PID\r\n40=Process\r\n"
         "67=Processes\r\n68=CPU Usage\r\n70=Mem Usage\r\n72=Available\r\n74=Tasks\r\n"
         "77=Running\r\n78=Not Responding\r\n80=Idle\r\n81=Low\r\n82=Below normal\r\n"
         "83=Normal\r\n8301=Above normal\r\n84=High\r\n85=Real time\r\n"
         "86=Process path not found!\r\n87=Are you sure you want to terminate this process?\r\n";
  return path;
}

}  // namespace

TestWindow::TestWindow(int columns)
    : languageFile(WriteLanguageFile()), language(profiles, languageFile) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  window = ::CreateWindowExW(0, L"STATIC", L"Dravik Task Manager", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             500, 300, 480, 300, nullptr, nullptr, nullptr, nullptr);
  list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 460,
                           260, window, nullptr, nullptr, nullptr);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 60;
  for (int i = 0; i < columns; ++i) ListView_InsertColumn(list, i, &column);
  messages.load(language);
  app.instance = ::GetModuleHandleW(nullptr);
  app.mainWindow = window;
  app.language = &language;
  app.messages = &messages;
  app.ui = &ui;
  app.setStatusPanel = [this](int panel, const std::wstring& text) { panels[panel].push_back(text); };
  app.selectedTab = [this] { return tab; };
  app.enableMainWindow = [this](bool on) {
    enables.push_back(on);
    ::EnableWindow(window, on);
  };
}

TestWindow::~TestWindow() {
  ::DestroyWindow(window);
  ::DeleteFileW(languageFile.c_str());
}

int TestWindow::image(int row) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ListView_GetItem(list, &item);
  return item.iImage;
}

int TestWindow::rowWith(int column, const std::wstring& text) const {
  for (int row = 0; row < rows(); ++row) {
    if (cell(row, column) == text) return row;
  }
  return -1;
}

void TestWindow::select(int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

}  // namespace processtest
