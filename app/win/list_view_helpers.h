#pragma once
// What the four report-style lists share: sorting by a column with the order
// kept by the list, full-row selection, and the lock that keeps the Tasks
// list's hidden handle column closed.
#include <windows.h>

#include "app/list_sort.h"

namespace dravik {

// Sorts the list by a 1-based column, keeping the list's order.
void SortListViewAuto(HWND list, int column);
// Sorts the list by a 1-based column and reverses the list's order: the first
// click on a list sorts descending.
void SortListView(HWND list, int column);
// The list's sort state (sorting off until the first sort).
SortState ListSortState(HWND list);

// Once a list has been sorted, rows added to it take their sorted place: a
// row whose sort text is known when it is inserted goes straight there, and
// rows whose sort column is filled in afterwards are put in place as soon as
// the window handles its messages. Installed by the sort calls themselves;
// the main window installs it on its lists when it creates them.
void KeepListSorted(HWND list);

// The column the Network list was last sorted by (1-based; 1 before any
// click). Its rebuild ends with SortListViewAuto(list, IndexSort(list)).
int IndexSort(HWND list);
void SetIndexSort(HWND list, int column);

// Selection and highlight across the whole row; false when the list refused.
bool EnhListView_Add_FullRowSelect(HWND list);

// Refuses width drags and divider double clicks that would open the hidden
// handle column. The lock takes itself off when the list is destroyed.
void HookColumnLock(HWND list);
void UnhookColumnLock(HWND list);
bool ColumnLockInstalled(HWND list);

}  // namespace dravik
