#include "app/win/list_view_helpers.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/exception_boundary.h"
#include "ui/win/list_view.h"

namespace dravik {

namespace {

constexpr wchar_t kColumnLockProp[] = L"Dravik.ColumnLock";
constexpr wchar_t kIndexSortProp[] = L"Dravik.IndexSort";
constexpr wchar_t kSortProp[] = L"Dravik.Sort";
// Posted to a list whose rows changed while sorting was on.
constexpr UINT kResortMessage = WM_APP + 0x2A1;

struct ListSort {
  SortState state;
  bool resortPending = false;
  bool sortingNow = false;
  WNDPROC next = nullptr;  // the list's procedure before the sort's
};

// The rows' own item data, kept while the sort borrows it to find each row's
// text; a tab may keep something of its own there.
struct SortRow {
  std::wstring text;
  LPARAM data;
};

struct CompareContext {
  const std::vector<SortRow>* rows;
  int order;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
  const auto* c = reinterpret_cast<const CompareContext*>(context);
  return CompareCellTexts((*c->rows)[first].text, (*c->rows)[second].text, c->order);
}

LPARAM RowData(HWND list, int row, LPARAM data, bool set) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = data;
  ::SendMessageW(list, set ? LVM_SETITEMW : LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

void SortNow(HWND list, ListSort& sort) {
  sort.resortPending = false;
  if (!sort.state.sorting || sort.sortingNow) return;
  sort.sortingNow = true;
  // Each row's text is read once, and the rows are told apart by the item
  // data during the sort: row positions move while the control sorts.
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<SortRow> rows(count);
  for (int r = 0; r < count; ++r) {
    rows[r].text = ListViewText(list, r, sort.state.key);
    rows[r].data = RowData(list, r, 0, false);
    RowData(list, r, r, true);
  }
  CompareContext context{&rows, sort.state.order};
  ::SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                 reinterpret_cast<LPARAM>(&CompareRows));
  for (int r = 0; r < count; ++r) {
    const LPARAM original = RowData(list, r, 0, false);
    if (original >= 0 && original < count) RowData(list, r, rows[original].data, true);
  }
  sort.sortingNow = false;
}

void ScheduleResort(HWND list, ListSort& sort) {
  if (sort.resortPending) return;
  sort.resortPending = ::PostMessageW(list, kResortMessage, 0, 0) != FALSE;
}

// Where a row with `text` in the sort column belongs in a sorted list.
int SortedPosition(HWND list, const ListSort& sort, const std::wstring& text) {
  int low = 0;
  int high = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  while (low < high) {
    const int middle = (low + high) / 2;
    if (CompareCellTexts(ListViewText(list, middle, sort.state.key), text, sort.state.order) <= 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

LRESULT KeepSorted(HWND list, UINT message, WPARAM wParam, LPARAM lParam, ListSort* sort) {
  const auto next = [&](LPARAM with) { return ::CallWindowProcW(sort->next, list, message, wParam, with); };
  switch (message) {
    case kResortMessage:
      // A sort asked for since the message was posted has done its work.
      if (sort->resortPending) SortNow(list, *sort);
      return 0;
    case LVM_INSERTITEMW: {
      auto* item = reinterpret_cast<LVITEMW*>(lParam);
      if (!sort->state.sorting || !item) break;
      if (sort->state.key == 0 && (item->mask & LVIF_TEXT) && item->pszText &&
          item->pszText != LPSTR_TEXTCALLBACKW && !sort->resortPending) {
        LVITEMW placed = *item;
        placed.iItem = SortedPosition(list, *sort, item->pszText);
        return next(reinterpret_cast<LPARAM>(&placed));
      }
      const LRESULT result = next(lParam);
      ScheduleResort(list, *sort);
      return result;
    }
    case LVM_SETITEMTEXTW:
    case LVM_SETITEMW: {
      const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      const LRESULT result = next(lParam);
      const bool textChanged = message == LVM_SETITEMTEXTW || (item && (item->mask & LVIF_TEXT));
      if (sort->state.sorting && !sort->sortingNow && textChanged && item &&
          item->iSubItem == sort->state.key) {
        ScheduleResort(list, *sort);
      }
      return result;
    }
    case WM_NCDESTROY: {
      const LRESULT result = next(lParam);
      ::SetWindowLongPtrW(list, GWLP_USERDATA, 0);
      ::RemovePropW(list, kIndexSortProp);
      ::RemovePropW(list, kSortProp);
      delete sort;
      return result;
    }
    default:
      break;
  }
  return next(lParam);
}

ListSort* SortOf(HWND list) {
  return ::IsWindow(list) ? static_cast<ListSort*>(::GetPropW(list, kSortProp)) : nullptr;
}

ListSort* EnsureSort(HWND list) {
  if (!::IsWindow(list)) return nullptr;
  KeepListSorted(list);
  return SortOf(list);
}

HeaderNotification HeaderNotificationOf(UINT code) {
  switch (code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW: return HeaderNotification::BeginTrack;
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW: return HeaderNotification::DividerDoubleClick;
    default: return HeaderNotification::Other;
  }
}

// A window-procedure subclass with its state in the list's user data, rather
// than the common controls' subclass: that one looks its state up in a window
// property on every message, which under Wine is a trip to the server, and a
// rebuild sends a list thousands of messages.
LRESULT CALLBACK KeepSortedProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* sort = reinterpret_cast<ListSort*>(::GetWindowLongPtrW(list, GWLP_USERDATA));
  if (!sort) return ::DefWindowProcW(list, message, wParam, lParam);
  return platform::win32::Guarded(L"SortListView", LRESULT{0}, [&] { return KeepSorted(list, message, wParam, lParam, sort); });
}

LRESULT ColumnLock(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto saved = reinterpret_cast<WNDPROC>(::GetPropW(list, kColumnLockProp));
  if (!saved) return ::DefWindowProcW(list, message, wParam, lParam);
  if (message == WM_DESTROY) {
    const LRESULT result = ::CallWindowProcW(saved, list, message, wParam, lParam);
    UnhookColumnLock(list);
    return result;
  }
  if (message == WM_NOTIFY && lParam) {
    const auto* header = reinterpret_cast<const NMHEADERW*>(lParam);
    const HeaderNotification what = HeaderNotificationOf(header->hdr.code);
    if (what != HeaderNotification::Other) {
      // Where the cursor is decides, not only the item the header names: at
      // the zero-width column's divider both lie on the same pixel.
      HDHITTESTINFO hit{};
      ::GetCursorPos(&hit.pt);
      ::ScreenToClient(header->hdr.hwndFrom, &hit.pt);
      ::SendMessageW(header->hdr.hwndFrom, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (RefuseHeaderTrack(what, hit.iItem, header->iItem)) return TRUE;
    }
  }
  return ::CallWindowProcW(saved, list, message, wParam, lParam);
}

LRESULT CALLBACK ColumnLockWndProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::win32::Guarded(L"HookColumnLock", LRESULT{0}, [&] { return ColumnLock(list, message, wParam, lParam); });
}

}  // namespace

void KeepListSorted(HWND list) {
  if (!::IsWindow(list) || SortOf(list)) return;
  auto* sort = new ListSort;
  sort->next = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(list, GWLP_WNDPROC));
  ::SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(sort));
  ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeepSortedProc));
  ::SetPropW(list, kSortProp, sort);
}

void SortListViewAuto(HWND list, int column) {
  if (ListSort* sort = EnsureSort(list)) {
    SortAuto(sort->state, column);
    SortNow(list, *sort);
  }
}

void SortListView(HWND list, int column) {
  if (ListSort* sort = EnsureSort(list)) {
    SortToggle(sort->state, column);
    SortNow(list, *sort);
  }
}

SortState ListSortState(HWND list) {
  const ListSort* sort = SortOf(list);
  return sort ? sort->state : SortState{};
}

int IndexSort(HWND list) {
  const auto stored = reinterpret_cast<INT_PTR>(::GetPropW(list, kIndexSortProp));
  return stored > 0 ? static_cast<int>(stored) : 1;
}

void SetIndexSort(HWND list, int column) {
  KeepListSorted(list);  // the property goes when the list does
  ::SetPropW(list, kIndexSortProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(column)));
}

bool EnhListView_Add_FullRowSelect(HWND list) {
  if (!::IsWindow(list)) return false;
  const auto style = ::SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style | LVS_EX_FULLROWSELECT);
  return (::SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT) != 0;
}

void HookColumnLock(HWND list) {
  if (!::IsWindow(list) || ColumnLockInstalled(list)) return;
  const auto previous = ::GetWindowLongPtrW(list, GWLP_WNDPROC);
  ::SetPropW(list, kColumnLockProp, reinterpret_cast<HANDLE>(previous));
  ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ColumnLockWndProc));
}

void UnhookColumnLock(HWND list) {
  if (!ColumnLockInstalled(list)) return;
  const auto saved = reinterpret_cast<LONG_PTR>(::GetPropW(list, kColumnLockProp));
  // Only put the old procedure back while ours is the one installed: a later
  // subclass on top would otherwise be cut out of the chain.
  if (::GetWindowLongPtrW(list, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ColumnLockWndProc)) {
    ::SetWindowLongPtrW(list, GWLP_WNDPROC, saved);
    ::RemovePropW(list, kColumnLockProp);
  }
}

bool ColumnLockInstalled(HWND list) {
  return ::IsWindow(list) && ::GetPropW(list, kColumnLockProp) != nullptr;
}

}  // namespace dravik
