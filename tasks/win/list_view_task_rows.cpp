#include "tasks/win/list_view_task_rows.h"

#include "platform/win32/handles.h"
#include "ui/win/list_view.h"

namespace dravik {

namespace {
constexpr int kPictureSize = 16;
constexpr wchar_t kBlankKey[] = L"null";
}  // namespace

ListViewTaskRows::ListViewTaskRows(HWND list, HINSTANCE instance) : list_(list) {
  images_ = ::ImageList_Create(kPictureSize, kPictureSize, ILC_COLOR32 | ILC_MASK, 16, 16);
  addBlankPicture(instance);
  ListView_SetImageList(list_, images_, LVSIL_SMALL);
}

void ListViewTaskRows::addBlankPicture(HINSTANCE instance) {
  int index = -1;
  platform::win32::UniqueIcon blank(static_cast<HICON>(
      ::LoadImageW(instance, L"IMG_EMPTY", IMAGE_ICON, kPictureSize, kPictureSize, 0)));
  if (blank) index = ::ImageList_ReplaceIcon(images_, -1, blank.get());
  if (index < 0) {
    // Without the picture a fully transparent one stands in.
    platform::win32::UniqueIcon stand_in(CreateBlankIcon(kPictureSize));
    index = ::ImageList_ReplaceIcon(images_, -1, stand_in.get());
  }
  if (index >= 0) imageKeys_[kBlankKey] = index;
}

int ListViewTaskRows::rowCount() { return ListViewRowCount(list_); }

std::wstring ListViewTaskRows::cell(int row, int subItem) { return ListViewText(list_, row, subItem); }

std::wstring ListViewTaskRows::text(int row) { return cell(row, 0); }

std::wstring ListViewTaskRows::subItem(int row, int column) { return cell(row, column - 1); }

ListViewTaskRows::RowData* ListViewTaskRows::dataOf(int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  auto it = rows_.find(item.lParam);
  return it == rows_.end() ? nullptr : &it->second;
}

int ListViewTaskRows::findRow(const std::wstring& key) {
  auto it = keys_.find(key);
  if (it == keys_.end()) return -1;
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = it->second;
  return static_cast<int>(::SendMessageW(list_, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

int ListViewTaskRows::addRow(const std::wstring& key, const std::wstring& text) {
  if (findRow(key) >= 0) return -1;
  const LPARAM id = nextId_++;
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = rowCount();
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.lParam = id;
  item.iImage = I_IMAGENONE;
  ++writes_;
  const int row =
      static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  rows_[id] = RowData{key, L"", false};
  keys_[key] = id;
  return row;
}

void ListViewTaskRows::removeRow(int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
    auto it = rows_.find(item.lParam);
    if (it != rows_.end()) {
      keys_.erase(it->second.key);
      rows_.erase(it);
    }
  }
  ++writes_;
  ::SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

int ListViewTaskRows::selectedRow() { return ListViewSelectedRow(list_); }

void ListViewTaskRows::clearSelection() {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = 0;
  ++writes_;
  ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

bool ListViewTaskRows::hasIcon(int row) {
  const RowData* data = dataOf(row);
  return data && data->hasIcon;
}

int ListViewTaskRows::imageIndex(const std::wstring& key) const {
  auto it = imageKeys_.find(key);
  return it == imageKeys_.end() ? -1 : it->second;
}

void ListViewTaskRows::setIcon(int row, const std::wstring& imageKey) {
  const int index = imageIndex(imageKey);
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = index >= 0 ? index : imageIndex(kBlankKey);
  ++writes_;
  ::SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (RowData* data = dataOf(row)) data->hasIcon = true;
}

bool ListViewTaskRows::addImage(const std::wstring& key, platform::IconHandle icon) {
  if (imageKeys_.count(key) || icon == 0) return false;
  // The list copies the picture: the icon stays the window's own.
  ++writes_;
  const int index = ::ImageList_ReplaceIcon(images_, -1, reinterpret_cast<HICON>(icon));
  if (index < 0) return false;
  imageKeys_[key] = index;
  return true;
}

void ListViewTaskRows::setText(int row, const std::wstring& text) { setSubItem(row, 1, text); }

void ListViewTaskRows::setSubItem(int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column - 1;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  ++writes_;
  ::SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

std::wstring ListViewTaskRows::tag(int row) {
  const RowData* data = dataOf(row);
  return data ? data->tag : std::wstring();
}

void ListViewTaskRows::setTag(int row, const std::wstring& tag) {
  if (RowData* data = dataOf(row)) data->tag = tag;
}

}  // namespace dravik
