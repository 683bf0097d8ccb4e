#pragma once
// How the lists sort by a clicked column, and when a header drag is refused.
#include <string>
#include <string_view>

#include "app/layout.h"

namespace dravik {

// Held by each list for the rest of the run. The order belongs to the list,
// not to a column: any click reverses it.
struct SortState {
  bool sorting = false;  // off until the first click
  int key = 0;           // 0-based column
  int order = 0;         // 0 ascending, 1 descending
  bool operator==(const SortState&) const = default;
};

// Sort by a 1-based column keeping the order.
void SortAuto(SortState& state, int column);
// Sort by a 1-based column and reverse the order.
void SortToggle(SortState& state, int column);

bool IsSortableColumn(Tab list, int column);

// A header click on a list with `rowCount` rows. Changes the sort state when
// the click sorts; for the Network list also records the column in
// `networkSortColumn` (the caption that the rebuild sorts by again).
// True when the list must be re-sorted.
bool ColumnClick(Tab list, int rowCount, int column, SortState& state,
                 std::wstring& networkSortColumn);

// The column the Network rebuild sorts by again; 1 for a caption that is not
// a column number.
int NetworkSortColumn(const std::wstring& caption);

// How two cell texts compare under a sort state: letters without regard to
// case, digits as characters (so "10" sorts before "9").
int CompareCellTexts(std::wstring_view a, std::wstring_view b, int order);

// The column lock: a width drag or divider double click that starts where the
// header puts the hidden handle column is refused, so that column can never be
// dragged open.
enum class HeaderNotification { BeginTrack, DividerDoubleClick, Other };
bool RefuseHeaderTrack(HeaderNotification what, int itemAtCursor, int notifiedItem);

}  // namespace dravik
