#include "processes/win/processes_tab.h"

#include <vector>

#include "platform/win32/handles.h"
#include "ui/win/list_view.h"

namespace dravik {

namespace {

using platform::win32::UniqueImageList;
using platform::win32::UniqueMemoryDc;

constexpr int kIconSize = 16;

}  // namespace

// The list view and its image list as the rebuild sees them.
class ProcessesTab::ListView final : public ProcessListTarget {
 public:
  ListView(HWND list, HINSTANCE instance) : list_(list) {
    images_.reset(::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 64, 64));
    // The tab owns the image list: the list must not destroy it as well.
    const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
    ::SetWindowLongPtrW(list_, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
    ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
    placeholder_.reset(static_cast<HICON>(
        ::LoadImageW(instance, L"IMG_NOICON", IMAGE_ICON, kIconSize, kIconSize, 0)));
    // A section in the program's own memory: drawing on it needs no round
    // trip to the display, which matters with one drawing per process.
    surfaceDc_.reset(::CreateCompatibleDC(nullptr));
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = kIconSize;
    format.bmiHeader.biHeight = kIconSize;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    surface_.reset(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  }

  ~ListView() override {
    if (::IsWindow(list_)) ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  }

  void beginRebuild() override {
    still_.emplace(list_);
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    ::ImageList_RemoveAll(images_.get());
    background_ = static_cast<COLORREF>(::SendMessageW(list_, LVM_GETBKCOLOR, 0, 0));
    if (background_ == CLR_NONE) background_ = ::GetSysColor(COLOR_WINDOW);
    rows_ = 0;
    // Image 1 is the placeholder; a blank one when the picture is missing.
    if (!placeholder_ || ::ImageList_AddIcon(images_.get(), placeholder_.get()) < 0) {
      addSurface([](HDC) {});
    }
  }

  int addFileIcon(const platform::SystemIcon& icon) override {
    if (icon.imageList == 0) return kNoImage;
    return addSurface([&](HDC dc) {
      ::ImageList_Draw(reinterpret_cast<HIMAGELIST>(icon.imageList), icon.index, dc, 0, 0,
                       ILD_TRANSPARENT);
    });
  }

  void addRow(const std::array<std::wstring, kProcessFieldCount>& cells, int image) override {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = rows_;
    item.pszText = const_cast<wchar_t*>(cells[0].c_str());
    item.iImage = image == kNoImage ? I_IMAGENONE : image - 1;
    const LRESULT row = ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (row < 0) return;
    ++rows_;
    for (std::size_t column = 1; column < cells.size(); ++column) {
      // A new row's cells are empty already.
      if (cells[column].empty()) continue;
      LVITEMW cell{};
      cell.iSubItem = static_cast<int>(column);
      cell.pszText = const_cast<wchar_t*>(cells[column].c_str());
      ::SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&cell));
    }
  }

  void endRebuild() override { still_.reset(); }

  std::size_t rowCount() const override {
    const LRESULT count = ::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
  }

 private:
  // Paints the 16 by 16 surface over the list's background and appends it to
  // the image list, the background becoming transparent; the new image's
  // position counted from 1, or kNoImage when it could not be added.
  template <typename Paint>
  int addSurface(Paint paint) {
    if (!surfaceDc_ || !surface_) return kNoImage;
    {
      // The image list copies the bitmap through a device context of its own,
      // which it cannot do while the bitmap is selected into ours.
      const platform::win32::SelectedObject drawn(surfaceDc_.get(), surface_.get());
      const RECT all{0, 0, kIconSize, kIconSize};
      ::SetBkColor(surfaceDc_.get(), background_);
      ::ExtTextOutW(surfaceDc_.get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
      paint(surfaceDc_.get());
    }
    const int index = ::ImageList_AddMasked(images_.get(), surface_.get(), background_);
    return index < 0 ? kNoImage : index + 1;
  }

  HWND list_;
  std::optional<RedrawOff> still_;  // during a rebuild
  UniqueImageList images_;
  platform::win32::UniqueIcon placeholder_;
  UniqueMemoryDc surfaceDc_;
  platform::win32::UniqueBitmap surface_;
  COLORREF background_ = 0;
  int rows_ = 0;
};

struct ProcessesTab::Snapshot final : dravik::Snapshot {
  ProcessListing listing;
};

ProcessesTab::ProcessesTab(AppContext& context, HWND list, ProcessesPlatform platform,
                           std::wstring groupSeparator)
    : context_(context),
      list_(list),
      platform_(std::move(platform)),
      groupSeparator_(std::move(groupSeparator)),
      view_(std::make_unique<ListView>(list, context.instance)),
      reads_(context.instance, L"RefreshProcessList", platform_.openQuery,
             [this](std::unique_ptr<Snapshot> snapshot) { show(std::move(snapshot)); }) {}

ProcessesTab::~ProcessesTab() = default;

void ProcessesTab::refresh() {
  reads_.request([&shell = platform_.shell, separator = groupSeparator_](platform::ProcessQuery& query) {
    auto snapshot = std::make_unique<Snapshot>();
    snapshot->listing = ReadProcessListing(query, shell, separator);
    return snapshot;
  });
}

void ProcessesTab::show(std::unique_ptr<Snapshot> snapshot) {
  // A query that failed leaves the list as it was.
  if (!snapshot || !context_.language) return;
  const std::size_t rows = ShowProcessList(*view_, snapshot->listing, *context_.language);
  if (context_.setStatusPanel) {
    context_.setStatusPanel(1, StatusText(std::to_wstring(rows), context_.language->text(text_key::kProcessesTab)));
  }
}

std::optional<SelectedProcess> ProcessesTab::selectedProcess() const {
  const int row = ListViewSelectedRow(list_);
  if (row < 0) return std::nullopt;
  return SelectedProcess{ListViewText(list_, row, static_cast<int>(process_field::kName)),
                         ListViewText(list_, row, static_cast<int>(process_field::kId)),
                         ListViewText(list_, row, static_cast<int>(process_field::kPath))};
}

bool ProcessesTab::command(Command command) {
  if (command != Command::TerminateProcess && command != Command::FileProperties) return false;
  if (!context_.messages || !context_.ui) return true;
  ProcessActionContext actions{*context_.messages, *context_.ui, platform_.processes,
                               platform_.shell, [this] { refresh(); }};
  if (command == Command::TerminateProcess) {
    TerminateSelectedProcess(selectedProcess(), actions);
  } else {
    ShowSelectedFileProperties(selectedProcess(), actions);
  }
  return true;
}

}  // namespace dravik
