#include "ui/win/list_view.h"

#include <vector>

namespace dravik {

std::wstring ListViewText(HWND list, int row, int column) {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = buffer.data();
    request.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT length = ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                          reinterpret_cast<LPARAM>(&request));
    // A text that filled the buffer may have been cut: ask again with more room.
    if (length < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= 65536) {
      return std::wstring(buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0));
    }
    buffer.resize(buffer.size() * 4);
  }
}

int ListViewRowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int ListViewSelectedRow(HWND list) {
  return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

LPARAM ListViewRowData(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.lParam;
}

HICON CreateBlankIcon(int size) {
  // A set bit of the AND mask lets the background through.
  const std::size_t bytes = static_cast<std::size_t>((size + 15) / 16 * 2 * size);
  std::vector<BYTE> andMask(bytes, 0xFF), xorMask(bytes, 0x00);
  return ::CreateIcon(nullptr, size, size, 1, 1, andMask.data(), xorMask.data());
}

RedrawOff::RedrawOff(HWND list) : list_(list) { ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }

RedrawOff::~RedrawOff() {
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

}  // namespace dravik
