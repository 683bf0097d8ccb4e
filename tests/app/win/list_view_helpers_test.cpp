// Sorting of a real list view under Wine, on a list of the test's own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win/list_view_helpers.h"
#include "support/win/settings_guard.h"
#include "support/win/ui_test_support.h"

namespace {

using namespace dravik;
using namespace std::chrono_literals;

class ListViewHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    owner_ = ::CreateWindowExW(0, L"STATIC", L"list owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                               nullptr, nullptr, nullptr, nullptr);
    list_ = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                              380, 280, owner_, nullptr, nullptr, nullptr);
    ASSERT_NE(list_, nullptr);
    for (int c = 0; c < 2; ++c) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = 100;
      column.pszText = const_cast<wchar_t*>(c == 0 ? L"Name" : L"PID");
      ::SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
  }
  void TearDown() override { ::DestroyWindow(owner_); }

  void add(const std::wstring& name, const std::wstring& pid) {
    std::wstring n = name, p = pid;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = n.data();
    const int row = static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMW sub{};
    sub.iSubItem = 1;
    sub.pszText = p.data();
    ::SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
  }
  std::vector<std::wstring> column(int index) {
    std::vector<std::wstring> texts;
    const int rows = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
      wchar_t text[64] = {};
      LVITEMW item{};
      item.iSubItem = index;
      item.pszText = text;
      item.cchTextMax = 63;
      ::SendMessageW(list_, LVM_GETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
      texts.push_back(text);
    }
    return texts;
  }

  HWND owner_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ListViewHelpersTest, FirstSortIsDescendingAndEveryLaterOneReversesTheListsOrder) {
  add(L"beta", L"9");
  add(L"Alpha", L"10");
  add(L"gamma", L"100");
  EXPECT_FALSE(ListSortState(list_).sorting);
  SortListView(list_, 2);
  EXPECT_EQ(column(1), (std::vector<std::wstring>{L"9", L"100", L"10"}));  // as text
  SortListView(list_, 1);  // another column: the order turns again
  EXPECT_EQ(column(0), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
  SortListViewAuto(list_, 2);  // keeps the order
  EXPECT_EQ(column(1), (std::vector<std::wstring>{L"10", L"100", L"9"}));
}

TEST_F(ListViewHelpersTest, RowsAddedWhileSortingIsOnTakeTheirPlace) {
  add(L"b", L"2");
  add(L"d", L"4");
  SortListViewAuto(list_, 1);  // ascending by name
  add(L"c", L"3");
  add(L"a", L"1");
  // Known at insertion: in place at once.
  EXPECT_EQ(column(0), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
  SortListView(list_, 2);  // descending by PID, filled in after the insertion
  add(L"e", L"5");
  testsupport::PumpFor(50ms);
  EXPECT_EQ(column(1), (std::vector<std::wstring>{L"5", L"4", L"3", L"2", L"1"}));
}

TEST_F(ListViewHelpersTest, FullRowSelectionAndTheRememberedNetworkColumn) {
  EXPECT_TRUE(EnhListView_Add_FullRowSelect(list_));
  EXPECT_TRUE(::SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
  EXPECT_FALSE(EnhListView_Add_FullRowSelect(nullptr));
  EXPECT_EQ(IndexSort(list_), 1);
  SetIndexSort(list_, 6);
  EXPECT_EQ(IndexSort(list_), 6);
}

TEST_F(ListViewHelpersTest, TheColumnLockTakesItselfOffWhenTheListGoes) {
  const auto original = ::GetWindowLongPtrW(list_, GWLP_WNDPROC);
  HookColumnLock(list_);
  EXPECT_TRUE(ColumnLockInstalled(list_));
  EXPECT_NE(::GetWindowLongPtrW(list_, GWLP_WNDPROC), original);
  UnhookColumnLock(list_);
  EXPECT_EQ(::GetWindowLongPtrW(list_, GWLP_WNDPROC), original);
  HookColumnLock(list_);
  ::DestroyWindow(list_);  // must not crash, and leaves nothing behind
  EXPECT_FALSE(ColumnLockInstalled(list_));
}

}  // namespace
