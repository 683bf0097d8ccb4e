#include "support/win/network_window.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "support/win/test_support.h"

namespace nettest {

int RecordingUi::messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) {
  boxes.push_back({text, title, flags});
  return answer;
}

void RecordingUi::pumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  RecordingUi pump;
  while (::GetTickCount() - start < milliseconds) {
    pump.pumpMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// ---- TextSort ----------------------------------------------------------

void TextSort::sortAuto(HWND list, int column) {
  // The comparison gets item parameters, not positions: each row's parameter
  // becomes its position for the sort, and the tags are put back afterwards.
  struct Keys {
    std::vector<std::wstring> texts;
    bool descending;
  } keys{{}, descending};
  const int count = ListView_GetItemCount(list);
  std::vector<LPARAM> tags(static_cast<std::size_t>(count));
  wchar_t buffer[1024];
  for (int i = 0; i < count; ++i) {
    buffer[0] = L'\0';
    ListView_GetItemText(list, i, column - 1, buffer, 1024);
    keys.texts.emplace_back(buffer);
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    ListView_GetItem(list, &item);
    tags[static_cast<std::size_t>(i)] = item.lParam;
    item.lParam = i;
    ListView_SetItem(list, &item);
  }
  auto compare = [](LPARAM a, LPARAM b, LPARAM data) -> int {
    const auto* k = reinterpret_cast<const Keys*>(data);
    const int order = ::lstrcmpiW(k->texts[static_cast<std::size_t>(a)].c_str(), k->texts[static_cast<std::size_t>(b)].c_str());
    return k->descending ? -order : order;
  };
  ListView_SortItems(list, compare, reinterpret_cast<LPARAM>(&keys));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    ListView_GetItem(list, &item);
    item.lParam = tags[static_cast<std::size_t>(item.lParam)];
    ListView_SetItem(list, &item);
  }
}

void TextSort::click(HWND list, int column) {
  descending = !descending;
  indexSort = column;
  sortAuto(list, column);
}

// ---- NetworkWindow -----------------------------------------------------

namespace {

const wchar_t kWindowClass[] = L"DravikNetworkTestWindow";

HICON SolidIcon(COLORREF colour) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP colourBits = ::CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP maskBits = ::CreateBitmap(16, 16, 1, 1, nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, colourBits);
  HBRUSH brush = ::CreateSolidBrush(colour);
  RECT all{0, 0, 16, 16};
  ::FillRect(dc, &all, brush);
  ::SelectObject(dc, maskBits);
  ::PatBlt(dc, 0, 0, 16, 16, BLACKNESS);  // fully opaque
  ::SelectObject(dc, old);
  ICONINFO info{TRUE, 0, 0, maskBits, colourBits};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(brush);
  ::DeleteDC(dc);
  ::DeleteObject(colourBits);
  ::DeleteObject(maskBits);
  ::ReleaseDC(nullptr, screen);
  return icon;
}

}  // namespace

NetworkWindow::NetworkWindow() {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = ::DefWindowProcW;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = kWindowClass;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  ::RegisterClassExW(&cls);  // fails harmlessly when registered by an earlier test
  window_ = ::CreateWindowExW(0, kWindowClass, L"Network", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 900, 500,
                              nullptr, nullptr, cls.hInstance, nullptr);
  list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                            880, 460, window_, reinterpret_cast<HMENU>(1), cls.hInstance, nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
  static const wchar_t* const kHeaders[] = {L"Process", L"Protocol", L"Local Address", L"Local Port",
                                            L"Remote Address", L"Remote Port", L"Status", L"Path"};
  for (int i = 0; i < 8; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = 105;
    column.pszText = const_cast<wchar_t*>(kHeaders[i]);
    column.iSubItem = i;
    ListView_InsertColumn(list_, i, &column);
  }

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  languageFile_ = std::wstring(temp) + L"dravik_network_test.lng";
  {
    std::FILE* file = _wfopen(languageFile_.c_str(), L"wb");
    if (file) {
      std::fputs("[Main]\r\n97=Network\r\n109=Close Connection\r\n", file);
      std::fclose(file);
    }
  }
  language_ = std::make_unique<dravik::Language>(profiles_, languageFile_);

  shellIcons_ = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
  HICON red = SolidIcon(RGB(255, 0, 0));
  ::ImageList_ReplaceIcon(shellIcons_, -1, red);
  ::DestroyIcon(red);

  context_.instance = ::GetModuleHandleW(nullptr);
  context_.mainWindow = window_;
  context_.language = language_.get();
  context_.messages = &messages_;
  context_.ui = &ui;
  context_.setStatusPanel = [this](int panel, const std::wstring& text) {
    if (panel == 1) panel1.push_back(text);
  };
  context_.selectedTab = [] { return dravik::Tab::Network; };
  context_.enableMainWindow = [](bool) {};
  context_.showPopupMenu = [this](dravik::Tab tab, POINT) {
    if (tab == dravik::Tab::Network) ++popups;
  };
}

NetworkWindow::~NetworkWindow() {
  ::DestroyWindow(window_);
  ::ImageList_Destroy(shellIcons_);
  ::DeleteFileW(languageFile_.c_str());
}

dravik::NetworkTabServices NetworkWindow::services() {
  dravik::NetworkTabServices s;
  s.processPath = [this](std::uint32_t pid) {
    for (const auto& [id, path] : paths) {
      if (id == pid) return path;
    }
    return std::wstring();
  };
  s.placeholderName = [](std::uint32_t pid) {
    if (pid == 0) return std::wstring(L"(System Idle Process)");
    if (pid == 4) return std::wstring(L"(System)");
    return L"(" + std::to_wstring(pid) + L")";
  };
  s.killProcess = [this](std::uint32_t pid) { kills.push_back(pid); };
  s.showFileProperties = [this](const std::wstring& path) { propertySheets.push_back(path); };
  s.sortListViewAuto = [this](HWND list, int column) { sort.sortAuto(list, column); };
  s.sortColumn = [this] { return sort.indexSort; };
  s.smallIcon = [this](const std::wstring& path) {
    iconAsks.push_back(path);
    // Only files under C:\Apps have an icon in this stand-in for the shell.
    return path.rfind(L"C:\\Apps\\", 0) == 0 ? platform::SystemIcon{reinterpret_cast<std::uintptr_t>(shellIcons_), 0}
                                              : platform::SystemIcon{};
  };
  return s;
}

int NetworkWindow::rows() const { return ListView_GetItemCount(list_); }

std::wstring NetworkWindow::text(int row, int column) const {
  wchar_t buffer[1024] = {};
  ListView_GetItemText(list_, row, column, buffer, 1024);
  return buffer;
}

LPARAM NetworkWindow::tag(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  ListView_GetItem(list_, &item);
  return item.lParam;
}

int NetworkWindow::image(int row) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ListView_GetItem(list_, &item);
  return item.iImage;
}

int NetworkWindow::selected() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

void NetworkWindow::select(int row) {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
  if (row >= 0) ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int NetworkWindow::find(int column, const std::wstring& value) const {
  for (int i = 0; i < rows(); ++i) {
    if (text(i, column) == value) return i;
  }
  return -1;
}

// ---- SocketHelper ------------------------------------------------------

SocketHelper::SocketHelper() {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE childIn = nullptr, childOut = nullptr;
  if (!::CreatePipe(&childIn, &input_, &inherit, 0)) return;
  if (!::CreatePipe(&output_, &childOut, &inherit, 0)) return;
  ::SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childIn;
  startup.hStdOutput = childOut;
  startup.hStdError = childOut;
  const std::wstring exe = testsupport::TestDir() + L"\\socket_helper.exe";
  std::wstring command = L"\"" + exe + L"\"";
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &info)) {
    process_ = info.hProcess;
    ::CloseHandle(info.hThread);
  }
  ::CloseHandle(childIn);
  ::CloseHandle(childOut);
}

SocketHelper::~SocketHelper() {
  if (process_) {
    ask("quit");
    if (::WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) ::TerminateProcess(process_, 99);
    ::CloseHandle(process_);
  }
  if (input_) ::CloseHandle(input_);
  if (output_) ::CloseHandle(output_);
}

std::string SocketHelper::ask(const std::string& command) {
  if (!process_) return "error helper not running";
  const std::string line = command + "\n";
  DWORD written = 0;
  if (!::WriteFile(input_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) return "error write";
  if (command == "quit") return "ok";
  std::string answer;
  char c = 0;
  DWORD read = 0;
  while (::ReadFile(output_, &c, 1, &read, nullptr) && read == 1) {
    if (c == '\n') break;
    if (c != '\r') answer += c;
  }
  return answer;
}

int SocketHelper::portOf(const std::string& answer) {
  return answer.rfind("port ", 0) == 0 ? std::atoi(answer.c_str() + 5) : 0;
}

}  // namespace nettest
