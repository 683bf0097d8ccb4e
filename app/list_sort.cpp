#include "app/list_sort.h"

#include <cwctype>

#include "app/tab_descriptions.h"

namespace dravik {

void SortAuto(SortState& state, int column) {
  state.sorting = true;
  state.key = column - 1;
}

void SortToggle(SortState& state, int column) {
  SortAuto(state, column);
  state.order = state.order == 0 ? 1 : 0;
}

bool IsSortableColumn(Tab list, int column) {
  const int count = static_cast<int>(ListColumns(list).size());
  if (column < 1 || column > count) return false;
  return !(list == Tab::Tasks && column == kHiddenHandleColumn);
}

bool ColumnClick(Tab list, int rowCount, int column, SortState& state,
                 std::wstring& networkSortColumn) {
  if (rowCount <= 0) return false;
  if (!IsSortableColumn(list, column)) return false;
  SortToggle(state, column);
  if (list == Tab::Network) networkSortColumn = std::to_wstring(column);
  return true;
}

int NetworkSortColumn(const std::wstring& caption) {
  int column = 0;
  if (caption.empty() || caption.size() > 2) return 1;
  for (wchar_t c : caption) {
    if (c < L'0' || c > L'9') return 1;
    column = column * 10 + (c - L'0');
  }
  return IsSortableColumn(Tab::Network, column) ? column : 1;
}

int CompareCellTexts(std::wstring_view a, std::wstring_view b, int order) {
  int result = 0;
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n && result == 0; ++i) {
    const auto ca = std::towlower(static_cast<wint_t>(a[i]));
    const auto cb = std::towlower(static_cast<wint_t>(b[i]));
    if (ca != cb) result = ca < cb ? -1 : 1;
  }
  if (result == 0 && a.size() != b.size()) result = a.size() < b.size() ? -1 : 1;
  return order == 0 ? result : -result;
}

bool RefuseHeaderTrack(HeaderNotification what, int itemAtCursor, int notifiedItem) {
  if (what == HeaderNotification::Other) return false;
  constexpr int hiddenItem = kHiddenHandleColumn - 1;
  // The handle column has no width, so its divider lies on the Status
  // column's right edge; whichever of the two the header names there, the
  // drag would open the hidden column.
  return itemAtCursor == hiddenItem || notifiedItem == hiddenItem;
}

}  // namespace dravik
