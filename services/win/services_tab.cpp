#include "services/win/services_tab.h"

#include "services/nt_service_control.h"
#include "services/service_list.h"
#include "ui/win/list_view.h"

namespace dravik {

namespace {

constexpr int kIconSize = 16;

// The pictures in image-list order: running, disabled, paused, any other state.
constexpr const wchar_t* kStateIcons[] = {L"SVC_RUNNING", L"SVC_DISABLED", L"SVC_PAUSED", L"SVC_STOPPED"};

HIMAGELIST StateImages(HINSTANCE instance) {
  HIMAGELIST images = ::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 4, 0);
  if (!images) return nullptr;
  for (const wchar_t* name : kStateIcons) {
    HICON icon = static_cast<HICON>(::LoadImageW(instance, name, IMAGE_ICON, kIconSize, kIconSize, 0));
    // A blank picture keeps the places of the others when one is missing.
    if (!icon) icon = CreateBlankIcon(kIconSize);
    ::ImageList_AddIcon(images, icon);
    if (icon) ::DestroyIcon(icon);
  }
  return images;
}


constexpr Command kStartTypeCommands[] = {Command::StartupBoot, Command::StartupSystem,
                                          Command::StartupAutomatic, Command::StartupManual,
                                          Command::StartupDisabled};

}  // namespace

struct ServicesTab::Snapshot final : dravik::Snapshot {
  ServiceListing listing;
};

ServicesTab::ServicesTab(AppContext& context, HWND list, platform::ServiceControl& scm,
                         std::function<std::unique_ptr<platform::ServiceControl>()> openListing)
    : context_(context),
      list_(list),
      scm_(scm),
      images_(StateImages(context.instance)),
      reads_(
          context.instance, L"GetServiceList", std::move(openListing),
          [this](std::unique_ptr<Snapshot> snapshot) { show(std::move(snapshot)); },
          [this](UINT_PTR timer) { waitOver(timer); }) {
  // The tab owns the pictures: the list must not destroy them with itself.
  const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  ::SetWindowLongPtrW(list_, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
  ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
}

ServicesTab::~ServicesTab() {
  if (::IsWindow(list_)) ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

void ServicesTab::appendRow(const ServiceRow& row) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<wchar_t*>(row.columns[kColumnDisplayName].c_str());
  item.iImage = static_cast<int>(row.picture) - 1;
  const int index = static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return;
  for (int column = 1; column < kServiceColumnCount; ++column) {
    LVITEMW sub{};
    sub.iSubItem = column;
    sub.pszText = const_cast<wchar_t*>(row.columns[static_cast<std::size_t>(column)].c_str());
    ::SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
  }
}

void ServicesTab::GetServiceList() {
  reads_.request([typeFilter = ServiceTypeFilter(showWinServices_, showDriverServices_)](platform::ServiceControl& scm) {
    auto snapshot = std::make_unique<Snapshot>();
    snapshot->listing = ReadServiceListing(scm, typeFilter);
    return snapshot;
  });
}

void ServicesTab::show(std::unique_ptr<Snapshot> snapshot) {
  if (!snapshot) return;  // a listing that failed leaves the list as it was
  {
    const RedrawOff still(list_);
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    StateTexts stateTexts(*context_.language);
    for (const ListedService& service : snapshot->listing.services) {
      appendRow(MakeServiceRow(stateTexts, *context_.messages, service.name, service.config, service.state));
    }
  }
  if (!snapshot->listing.failure.empty()) context_.ui->messageBox(snapshot->listing.failure, L"", platform::mb::kOk);
  const int count = ListViewRowCount(list_);
  if (context_.setStatusPanel) {
    context_.setStatusPanel(1, StatusText(std::to_wstring(count), context_.language->text(text_key::kServicesTab)));
  }
}

std::optional<std::wstring> ServicesTab::selectedName() const {
  const int item = ListViewSelectedRow(list_);
  if (item < 0) return std::nullopt;
  return ListViewText(list_, item, kColumnName);
}

void ServicesTab::rowClicked() {
  const int item = ListViewSelectedRow(list_);
  if (item < 0) return;
  const int startType = StartTypeOfText(*context_.messages, ListViewText(list_, item, kColumnStartupType));
  if (startType >= 0) checkedStartType_ = startType;
}

bool ServicesTab::command(Command command) {
  switch (command) {
    case Command::ViewWinServices:
      showWinServices_ = !showWinServices_;
      GetServiceList();
      return true;
    case Command::ViewDriverServices:
      showDriverServices_ = !showDriverServices_;
      GetServiceList();
      return true;
    default:
      break;
  }
  ServiceCommandContext run{scm_, *context_.ui, *context_.language, *context_.messages,
                            [this](int seconds) { rebuildAfter(seconds); }};
  return RunServiceCommand(command, selectedName(), run);
}

void ServicesTab::rebuildAfter(int seconds) {
  // The timers go with the tab's hidden window: a tab closed during a wait rebuilds nothing.
  if (::SetTimer(reads_.window(), nextWait_++, static_cast<UINT>(seconds) * 1000, nullptr)) {
    ++waits_;
  } else {
    GetServiceList();
  }
}

void ServicesTab::waitOver(UINT_PTR timer) {
  ::KillTimer(reads_.window(), timer);
  --waits_;
  GetServiceList();
}

bool ServicesTab::checked(Command command) const {
  if (command == Command::ViewWinServices) return showWinServices_;
  if (command == Command::ViewDriverServices) return showDriverServices_;
  for (int i = 0; i < 5; ++i) {
    if (kStartTypeCommands[i] == command) return checkedStartType_ == i;
  }
  return false;
}

bool ServicesTab::listNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != list_) return false;
  switch (header.code) {
    case NM_CLICK:
      rowClicked();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace dravik
