// Prints how long the lists take to sort and to take new rows in sorted
// order, for a few list sizes. Run under Wine:
//   tools/wine-run build/win64/tests/bench_list_sort.exe
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <random>
#include <string>

#include "app/win/list_view_helpers.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now;
}

void AddRow(HWND list, const std::wstring& name, const std::wstring& pid) {
  std::wstring n = name, p = pid;
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = n.data();
  const int row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  LVITEMW sub{};
  sub.iSubItem = 1;
  sub.pszText = p.data();
  ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

HWND MakeList(HWND owner) {
  HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                                600, 400, owner, nullptr, nullptr, nullptr);
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 120;
    column.pszText = const_cast<wchar_t*>(c == 0 ? L"Name" : L"PID");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  return list;
}

}  // namespace

int wmain() {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 640, 480, nullptr, nullptr, nullptr, nullptr);
  std::mt19937 random(7);
  std::printf("rows  add-unsorted(ms)  sort(ms)  resort(ms)  add-sorted-by-name(ms)  add-sorted-by-pid(ms)\n");
  for (int rows : {500, 2000}) {
    HWND list = MakeList(owner);
    auto start = Now();
    for (int i = 0; i < rows; ++i) {
      AddRow(list, L"process" + std::to_wstring(random() % 100000) + L".exe", std::to_wstring(random() % 65536));
    }
    auto t0 = Now();
    dravik::SortListView(list, 1);
    auto t1 = Now();
    dravik::SortListView(list, 2);
    auto t2 = Now();
    ::DestroyWindow(list);

    // A rebuild into a list sorted by its row text: each row goes in place.
    list = MakeList(owner);
    dravik::SortListViewAuto(list, 1);
    auto t3 = Now();
    for (int i = 0; i < rows; ++i) {
      AddRow(list, L"process" + std::to_wstring(random() % 100000) + L".exe", std::to_wstring(random() % 65536));
    }
    Pump();
    auto t4 = Now();
    ::DestroyWindow(list);

    // Sorted by a later column: one sort once the rebuild lets messages through.
    list = MakeList(owner);
    dravik::SortListViewAuto(list, 2);
    auto t5 = Now();
    for (int i = 0; i < rows; ++i) {
      AddRow(list, L"process" + std::to_wstring(random() % 100000) + L".exe", std::to_wstring(random() % 65536));
    }
    Pump();
    auto t6 = Now();
    ::DestroyWindow(list);
    std::printf("%5d  %16.1f  %8.1f  %10.1f  %22.1f  %21.1f\n", rows, Milliseconds(start, t0), Milliseconds(t0, t1), Milliseconds(t1, t2),
                Milliseconds(t3, t4), Milliseconds(t5, t6));
  }
  ::DestroyWindow(owner);
  return 0;
}
