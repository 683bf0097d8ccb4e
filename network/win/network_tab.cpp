#include "network/win/network_tab.h"

#include <utility>

#include "ui/win/list_view.h"
#include "ui/win/window_object.h"

namespace dravik {

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr wchar_t kWatchWindowClass[] = L"DravikNetworkWatch";
constexpr UINT kWatchMilliseconds = 1000;
constexpr int kIconSize = 16;

}  // namespace

NetworkTab::NetworkTab(AppContext& context, HWND list, platform::NetworkTables& tables,
                       NetworkTabServices services)
    : context_(context), list_(list), services_(std::move(services)), tables_(tables, *context.ui) {
  images_.reset(::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 64, 64));
  blankIcon_.reset(CreateBlankIcon(kIconSize));
  unknownIcon_.reset(static_cast<HICON>(
      ::LoadImageW(context_.instance, L"IMG_UNKNOWN", IMAGE_ICON, kIconSize, kIconSize, 0)));
  // The tab owns its image list and swaps it in and out of the list on every
  // rebuild: the list must not destroy it when it goes.
  const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  ::SetWindowLongPtrW(list_, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
  // The watch's timer ticks in a message-only window of the tab's own rather
  // than in a subclass of the list: a subclass would look up its data on
  // every one of the thousands of messages a rebuild sends the list.
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  if (!::GetClassInfoExW(context_.instance, kWatchWindowClass, &cls)) {
    cls.lpfnWndProc = &NetworkTab::WatchProc;
    cls.hInstance = context_.instance;
    cls.lpszClassName = kWatchWindowClass;
    ::RegisterClassExW(&cls);
  }
  watchWindow_ = ::CreateWindowExW(0, kWatchWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   context_.instance, this);
}

NetworkTab::~NetworkTab() {
  if (watchWindow_) ::DestroyWindow(watchWindow_);
  if (::IsWindow(list_)) ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

LRESULT CALLBACK NetworkTab::WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchToObject(window, message, wParam, lParam, &NetworkTab::watchWindow_, L"TmrNetwork",
                          [&](NetworkTab& tab) -> LRESULT {
                            if (message != WM_TIMER || wParam != kWatchTimer) {
                              return ::DefWindowProcW(window, message, wParam, lParam);
                            }
                            tab.tick();
                            return 0;
                          });
}

std::wstring NetworkTab::main(const char* key) const {
  return context_.language ? context_.language->main(key) : std::wstring();
}

// --- the rebuild --------------------------------------------------------

void NetworkTab::refresh() {
  // The records, counts and parse position are shared: a rebuild asked for
  // while one runs (from a message handled inside it) waits for it to end.
  if (busy_) {
    refreshPending_ = true;
    return;
  }
  do {
    refreshPending_ = false;
    rebuildOnce();
    runDeferred();
  } while (refreshPending_ && !busy_);
}

void NetworkTab::rebuildOnce() {
  busy_ = true;
  platform::UserInterface& ui = *context_.ui;
  // Each parse must follow its own load: both loads share one buffer.
  tables_.LoadTcpTable();
  tables_.ParseTcpTable();
  ui.pumpMessages();
  tables_.LoadUdpTable();
  tables_.ParseUdpTable();
  ui.pumpMessages();

  const std::vector<NetworkRow> rows = BuildNetworkRows(tables_, {services_.processPath, services_.placeholderName});
  {
    // No drawing until every row, its sort place and its icon are in.
    const RedrawOff still(list_);
    insertRows(rows);
    if (services_.sortListViewAuto && services_.sortColumn) services_.sortListViewAuto(list_, services_.sortColumn());
    loadIcons();
    ui.pumpMessages();
    assignIcons();
    ui.pumpMessages();
  }
  writeStatusPanel();
  busy_ = false;
}

void NetworkTab::insertRows(const std::vector<NetworkRow>& rows) {
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  ::SendMessageW(list_, LVM_SETITEMCOUNT, rows.size(), 0);
  for (const NetworkRow& row : rows) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = rowCount();
    item.pszText = const_cast<wchar_t*>(row.columns[kNetProcess].c_str());
    item.lParam = row.tag;
    const int at = static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0) continue;
    for (int column = 1; column < kNetColumnCount; ++column) {
      if (row.columns[column].empty()) continue;  // a new row's texts start empty
      LVITEMW sub{};
      sub.iSubItem = column;
      sub.pszText = const_cast<wchar_t*>(row.columns[column].c_str());
      ::SendMessageW(list_, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&sub));
    }
  }
}

// The list's rows and the image list's pictures correspond by position, in
// the list's order after sorting.
void NetworkTab::loadIcons() {
  ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  if (!images_) return;
  ::ImageList_SetIconSize(images_.get(), kIconSize, kIconSize);  // also drops every picture
  const int rows = rowCount();
  // One slot per row up front, so each picture goes straight to its place.
  ::ImageList_SetImageCount(images_.get(), static_cast<UINT>(rows));
  IconPlaces places;
  std::vector<platform::win32::UniqueIcon> owned;
  for (int i = 0; i < rows; ++i) addIcon(rowText(i, kNetPath), i, places, owned);
}

void NetworkTab::addIcon(const std::wstring& path, int index, IconPlaces& places,
                         std::vector<platform::win32::UniqueIcon>& owned) {
  // Many rows share one program: its picture is made once and copied, which
  // costs far less than asking the shell and converting an icon again.
  auto done = places.find(path);
  if (done != places.end() && ::ImageList_Copy(images_.get(), index, images_.get(), done->second, ILCF_MOVE)) return;

  HICON icon = nullptr;
  if (path.empty()) {
    icon = unknownIcon_ ? unknownIcon_.get() : blankIcon_.get();
  } else {
    const platform::SystemIcon shell =
        services_.smallIcon ? services_.smallIcon(path) : platform::SystemIcon{};
    if (shell.imageList && shell.index >= 0) {
      owned.emplace_back(::ImageList_GetIcon(reinterpret_cast<HIMAGELIST>(shell.imageList),
                                             shell.index, ILD_TRANSPARENT));
      icon = owned.back().get();
    }
    if (!icon) icon = blankIcon_.get();  // a path the shell does not know
  }
  if (::ImageList_ReplaceIcon(images_.get(), index, icon) == index) {
    places.emplace(path, index);
  } else {
    ::ImageList_ReplaceIcon(images_.get(), index, blankIcon_.get());
  }
}

void NetworkTab::assignIcons() {
  if (!images_) return;
  ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
  const int rows = rowCount();
  for (int i = 0; i < rows; ++i) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    item.iImage = i;
    ::SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void NetworkTab::writeStatusPanel() {
  if (context_.setStatusPanel) context_.setStatusPanel(1, StatusText(std::to_wstring(rowCount()), context_.language->text(text_key::kNetworkTab)));
}

// --- the watch ----------------------------------------------------------

void NetworkTab::selected() {
  writeStatusPanel();
  // The timer starts first: the look below may rebuild, and a tab switch
  // handled inside that rebuild must find a timer to stop.
  timerRunning_ = ::SetTimer(watchWindow_, kWatchTimer, kWatchMilliseconds, nullptr) != 0;
  if (!busy_ && !watchRunning_) {
    watchRunning_ = true;
    tables_.WatchTcpCount([this] { refresh(); });
    watchRunning_ = false;
  }
}

void NetworkTab::deselected() {
  ::KillTimer(watchWindow_, kWatchTimer);
  timerRunning_ = false;
}

void NetworkTab::tick() {
  // While a rebuild runs the tick does nothing; nor does it start a second
  // watch from a message box the first one shows.
  if (busy_ || watchRunning_) return;
  watchRunning_ = true;
  tables_.WatchTcpCount([this] { refresh(); });
  watchRunning_ = false;
  context_.ui->pumpMessages();
}

// --- the commands -------------------------------------------------------

bool NetworkTab::command(Command command) {
  if (command != Command::CloseConnection && command != Command::TerminateProcess &&
      command != Command::FileProperties) {
    return false;
  }
  const int row = selectedRow();
  if (row < 0) return true;  // nothing selected: nothing to act on
  if (busy_) {
    // The row's record may be half overwritten right now: act once the
    // rebuild is over, on the row that shows the same connection then.
    deferred_.push_back({command, rowTexts(row)});
    return true;
  }
  run(command, row);
  return true;
}

void NetworkTab::runDeferred() {
  std::vector<DeferredCommand> waiting;
  waiting.swap(deferred_);
  for (const DeferredCommand& command : waiting) {
    const int rows = rowCount();
    for (int i = 0; i < rows; ++i) {
      if (SameConnection(rowTexts(i), command.row)) {
        run(command.command, i);
        break;
      }
    }
  }
}

void NetworkTab::run(Command command, int row) {
  if (command == Command::CloseConnection) {
    closeConnection(row);
    return;
  }
  // No rebuild after a termination: the count watch rebuilds the list once
  // the process's connections are gone.
  ProcessActionContext actions{*context_.messages, *context_.ui, *services_.processes,
                               *services_.shellFiles, {}, EndOn::AnythingButNo};
  if (command == Command::TerminateProcess) TerminateSelectedProcess(rowProcess(row), actions);
  if (command == Command::FileProperties) ShowSelectedFileProperties(rowProcess(row), actions);
}

void NetworkTab::closeConnection(int row) {
  const NetworkRowTexts texts = rowTexts(row);
  // No call closes a UDP endpoint, and a UDP row's tag does not index the TCP
  // records: it gets the same answer as a refused close.
  if (texts[kNetProtocol] == kProtocolTcp && tables_.CloseTcpConnection(rowTag(row))) {
    if (tables_.TcpCountChanged()) refresh();
    return;
  }
  context_.ui->messageBox(CloseFailureText((*context_.messages)[MessageText::Unable], texts), context_.language->text(text_key::kCloseConnectionTitle),
                          platform::mb::kExclamationOk);
}

std::optional<SelectedProcess> NetworkTab::rowProcess(int row) const {
  const NetworkRowTexts texts = rowTexts(row);
  const int tag = rowTag(row);
  if (tag < 0 || tag >= kNetworkRecords) return std::nullopt;
  std::int32_t pid = 0;
  if (texts[kNetProtocol] == kProtocolTcp) {
    pid = tables_.tcpConnection(tag).owningPid;
  } else if (texts[kNetProtocol] == kProtocolUdp) {
    pid = tables_.udpEndpoint(tag).owningPid;
  } else {
    return std::nullopt;
  }
  return SelectedProcess{texts[kNetProcess], std::to_wstring(pid), texts[kNetPath]};
}

// --- the list -----------------------------------------------------------

int NetworkTab::selectedRow() const { return ListViewSelectedRow(list_); }
int NetworkTab::rowCount() const { return ListViewRowCount(list_); }
int NetworkTab::rowTag(int row) const { return static_cast<int>(ListViewRowData(list_, row)); }
std::wstring NetworkTab::rowText(int row, int column) const { return ListViewText(list_, row, column); }

NetworkRowTexts NetworkTab::rowTexts(int row) const {
  NetworkRowTexts texts;
  for (int column = 0; column < kNetColumnCount; ++column) texts[column] = rowText(row, column);
  return texts;
}

}  // namespace dravik
