#include "network/win/network_tab.h"

#include <optional>
#include <utility>

#include "ui/win/list_view.h"

namespace dravik {

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMilliseconds = 1000;
constexpr int kIconSize = 16;

}  // namespace

struct NetworkTab::Snapshot final : dravik::Snapshot {
  std::optional<NetworkListing> listing;  // none when the count did not call for a rebuild
  NotedBoxes boxes;
};

// The worker's own tables, and the records and counts it keeps from read to read.
struct NetworkTab::Reader {
  explicit Reader(std::unique_ptr<platform::NetworkTables> opened) : tables(std::move(opened)), records(*tables) {}
  std::unique_ptr<platform::NetworkTables> tables;
  TcpUdp records;
};

NetworkTab::NetworkTab(AppContext& context, HWND list, platform::NetworkTables& tables,
                       NetworkTabServices services)
    : context_(context),
      list_(list),
      services_(std::move(services)),
      tables_(tables),
      reads_(
          context.instance, L"RefConNetworkTCP_UDP",
          [open = services_.openTables] { return std::make_unique<Reader>(open()); },
          [this](std::unique_ptr<Snapshot> snapshot) { show(std::move(snapshot)); },
          [this](UINT_PTR id) {
            if (id == kWatchTimer) tick();
          }) {
  images_.reset(::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 64, 64));
  blankIcon_.reset(CreateBlankIcon(kIconSize));
  unknownIcon_.reset(static_cast<HICON>(
      ::LoadImageW(context_.instance, L"IMG_UNKNOWN", IMAGE_ICON, kIconSize, kIconSize, 0)));
  // The tab owns its image list and swaps it in and out of the list on every
  // rebuild: the list must not destroy it when it goes.
  const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  ::SetWindowLongPtrW(list_, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
}

NetworkTab::~NetworkTab() {
  if (::IsWindow(list_)) ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

// --- the rebuild --------------------------------------------------------

void NetworkTab::refresh() { read(Read::Rebuild); }

void NetworkTab::read(Read what) {
  reads_.request([what, lookup = ProcessLookup{services_.processPath, services_.placeholderName}](Reader& reader) {
    auto snapshot = std::make_unique<Snapshot>();
    TcpUdp& records = reader.records;
    bool rebuild = what == Read::Rebuild;
    if (what == Read::Watch) records.WatchTcpCount(snapshot->boxes, [&] { rebuild = true; });
    if (what == Read::AfterClose) rebuild = records.TcpCountChanged();
    if (what == Read::ForgetCount) records.ForgetTcpCount();
    if (rebuild) snapshot->listing = ReadNetworkListing(records, lookup);
    return snapshot;
  });
}

void NetworkTab::show(std::unique_ptr<Snapshot> snapshot) {
  if (snapshot && snapshot->listing) {
    shown_ = std::move(*snapshot->listing);
    {
      // No drawing until every row, its sort place and its icon are in.
      const RedrawOff still(list_);
      insertRows(shown_.rows);
      if (services_.sortListViewAuto && services_.sortColumn) services_.sortListViewAuto(list_, services_.sortColumn());
      loadIcons();
      assignIcons();
    }
    shown_.rows = {};  // the list holds them now
    writeStatusPanel();
  }
  if (snapshot) snapshot->boxes.show(*context_.ui);
  // The watch ticks again only now, and only on this tab: no look starts
  // while one is under way or its message box is open.
  if (!context_.selectedTab || context_.selectedTab() == Tab::Network) {
    ::SetTimer(reads_.window(), kWatchTimer, kWatchMilliseconds, nullptr);
  }
  // A read that failed, or found nothing to rebuild, leaves the list as it
  // was; what was chosen meanwhile acts on it.
  runDeferred();
}

void NetworkTab::insertRows(const std::vector<NetworkRow>& rows) {
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  ::SendMessageW(list_, LVM_SETITEMCOUNT, rows.size(), 0);
  for (const NetworkRow& row : rows) {
    // Rows come without a text and are given theirs after: a list kept
    // sorted places a row that comes with one by searching the rows, where
    // here one sort after the last row does.
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = rowCount();
    item.lParam = row.tag;
    const int at = static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0) continue;
    for (int column = 0; column < kNetColumnCount; ++column) {
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
  read(Read::Watch);
}

void NetworkTab::deselected() {
  ::KillTimer(reads_.window(), kWatchTimer);
  // A rebuild under way is not shown: the request below replaces it, and
  // coming back rebuilds, whatever the count then.
  if (reads_.busy()) read(Read::ForgetCount);
}

void NetworkTab::tick() {
  // A Refresh under way must not be replaced by a look that finds nothing.
  if (reads_.busy()) return;
  ::KillTimer(reads_.window(), kWatchTimer);
  read(Read::Watch);
}

// --- the commands -------------------------------------------------------

bool NetworkTab::command(Command command) {
  if (command != Command::CloseConnection && command != Command::TerminateProcess &&
      command != Command::FileProperties) {
    return false;
  }
  const int row = selectedRow();
  if (row < 0) return true;  // nothing selected: nothing to act on
  if (reads_.busy()) {
    // Act once the rebuild is over, on the row that shows the same connection then.
    chosenDuringRebuild_.push_back({command, rowTexts(row)});
    return true;
  }
  run(command, row);
  return true;
}

void NetworkTab::runDeferred() {
  std::vector<DeferredCommand> waiting;
  waiting.swap(chosenDuringRebuild_);
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
  const int tag = rowTag(row);
  if (texts[kNetProtocol] == kProtocolTcp && tag >= 0 && static_cast<std::size_t>(tag) < shown_.tcp.size() &&
      CloseTcpConnection(tables_, shown_.tcp[static_cast<std::size_t>(tag)])) {
    read(Read::AfterClose);
    return;
  }
  context_.ui->messageBox(CloseFailureText((*context_.messages)[MessageText::Unable], texts), context_.language->text(text_key::kCloseConnectionTitle),
                          platform::mb::kExclamationOk);
}

std::optional<SelectedProcess> NetworkTab::rowProcess(int row) const {
  const NetworkRowTexts texts = rowTexts(row);
  const int tag = rowTag(row);
  const auto at = static_cast<std::size_t>(tag);
  std::int32_t pid = 0;
  if (texts[kNetProtocol] == kProtocolTcp && tag >= 0 && at < shown_.tcp.size()) {
    pid = shown_.tcp[at].owningPid;
  } else if (texts[kNetProtocol] == kProtocolUdp && tag >= 0 && at < shown_.udp.size()) {
    pid = shown_.udp[at].owningPid;
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
