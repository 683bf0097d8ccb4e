#include "support/win/process_test_window.h"

#include <chrono>

namespace processtest {

namespace {

const wchar_t* const kHeaders[] = {L"Process",  L"PID",          L"Mem. usage",        L"Path",
                                   L"Priority", L"HandleCount",  L"ThreadCount",       L"PageFaults",
                                   L"PageFileUsage", L"PeakPageFileUsage", L"NonPagedPoolUsage",
                                   L"PagedPoolUsage", L"PeakNonPagedPoolUsage", L"PeakPagedPoolUsage"};

const char kLanguageText[] =
    "[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n"
    "13=Terminate Process\r\n14=File Properties\r\n39=PID\r\n40=Process\r\n"
    "67=Processes\r\n80=Idle\r\n81=Low\r\n82=Below normal\r\n83=Normal\r\n8301=Above normal\r\n"
    "84=High\r\n85=Real time\r\n86=Process path not found!\r\n"
    "87=Are you sure you want to terminate this process?\r\n";

}  // namespace

ListWindow::ListWindow() {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  window_ = ::CreateWindowExW(0, L"STATIC", L"Process list test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              20, 20, 900, 500, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                              nullptr);
  list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 880,
                            460, window_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < 14; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = 90;
    column.pszText = const_cast<wchar_t*>(kHeaders[i]);
    column.iSubItem = i;
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&column));
  }
}

ListWindow::~ListWindow() { ::DestroyWindow(window_); }

int ListWindow::rows() const { return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ListWindow::cell(int row, int column) const {
  wchar_t text[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 1024;
  const auto length = ::SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
  return std::wstring(text, static_cast<std::size_t>(length));
}

int ListWindow::image(int row) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

int ListWindow::rowOfProcess(DWORD pid) const {
  const std::wstring id = std::to_wstring(pid);
  for (int row = 0; row < rows(); ++row) {
    if (cell(row, 1) == id) return row;
  }
  return -1;
}

void ListWindow::select(int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

TestLanguage::TestLanguage() : language_(profiles_, [this] {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  path_ = std::wstring(folder) + L"dravik-processes-" + std::to_wstring(::GetCurrentProcessId()) +
          L".lng";
  const HANDLE file = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, kLanguageText, sizeof(kLanguageText) - 1, &written, nullptr);
  ::CloseHandle(file);
  return path_;
}()) {}

TestLanguage::~TestLanguage() { ::DeleteFileW(path_.c_str()); }

BoxAnswer::BoxAnswer(int button)
    : thread_([this, button] {
        testsupport::WaitFor(
            [&] {
              seen_ = testsupport::FindMessageBox(::GetCurrentProcessId());
              return seen_.window != nullptr;
            },
            std::chrono::seconds(10));
        if (seen_.window) ::PostMessageW(seen_.window, WM_COMMAND, static_cast<WPARAM>(button), 0);
      }) {}

BoxAnswer::~BoxAnswer() {
  if (thread_.joinable()) thread_.join();
}

const testsupport::MessageBoxInfo& BoxAnswer::seen() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

TestContext::TestContext(const ListWindow& window, const TestLanguage& language) {
  messages.load(language.language());
  app.instance = ::GetModuleHandleW(nullptr);
  app.mainWindow = window.window();
  app.language = &language.language();
  app.messages = &messages;
  app.ui = &ui;
  app.setStatusPanel = [this](int panel, const std::wstring& text) {
    if (panel == 1) statusPanel1.push_back(text);
  };
  app.selectedTab = [] { return dravik::Tab::Processes; };
  app.enableMainWindow = [](bool) {};
  app.showPopupMenu = [this](dravik::Tab tab, POINT where) {
    if (tab == dravik::Tab::Processes) popupMenus.push_back(where);
  };
}

}  // namespace processtest
