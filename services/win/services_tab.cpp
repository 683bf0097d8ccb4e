#include "services/win/services_tab.h"

#include "services/nt_service_control.h"
#include "services/service_list.h"
#include "services/win/pause_clock.h"
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

ServicesTab::ServicesTab(AppContext& context, HWND list, platform::ServiceControl& scm)
    : context_(context), list_(list), scm_(scm), images_(StateImages(context.instance)),
      clock_(SystemPauseClock()) {
  // The tab owns the pictures: the list must not destroy them with itself.
  const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  ::SetWindowLongPtrW(list_, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
  ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
}

ServicesTab::~ServicesTab() {
  *alive_ = false;
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
  const std::uint32_t typeFilter = ServiceTypeFilter(showWinServices_, showDriverServices_);
  {
    const RedrawOff still(list_);
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    StateTexts stateTexts(*context_.language);
    EnumNTServices(scm_, *context_.ui, typeFilter, platform::scm::kStateAll,
                   [&](const std::wstring& name, const ServiceConfig& config, std::uint32_t state) {
                     appendRow(MakeServiceRow(stateTexts, *context_.messages, name, config, state));
                   });
  }
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
  // The wait and the rebuild must not rely on the page still being there
  // once the wait has handled the window's messages.
  ServiceCommandContext run{
      scm_,
      *context_.ui,
      *context_.language,
      *context_.messages,
      [ui = context_.ui, clock = clock_](int seconds) { Pause(*ui, clock, seconds); },
      [this, alive = alive_] {
        if (*alive) GetServiceList();
      }};
  return RunServiceCommand(command, selectedName(), run);
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
