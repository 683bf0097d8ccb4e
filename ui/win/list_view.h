#pragma once
// Reading the rows of a report-style list view, and keeping it still while
// its rows are rebuilt.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace dravik {

// The whole text of a cell (0-based row and column), however long; "" for a
// row or column the list does not have.
std::wstring ListViewText(HWND list, int row, int column);
int ListViewRowCount(HWND list);
// The selected row (single selection), -1 when none is.
int ListViewSelectedRow(HWND list);
// The value kept with a row, -1 when the list has no such row.
LPARAM ListViewRowData(HWND list, int row);

// A fully transparent icon of `size` pixels: the picture of a row that has
// none, keeping the places of the others. The caller owns it.
HICON CreateBlankIcon(int size);

// While it lives the list is not drawn, so a rebuild does not flicker row by
// row; at its end, on every path, the list is drawn again whole.
class RedrawOff {
 public:
  explicit RedrawOff(HWND list);
  ~RedrawOff();
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND list_;
};

}  // namespace dravik
