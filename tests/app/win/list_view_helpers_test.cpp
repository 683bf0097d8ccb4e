// Sorting of a real list view under Wine, on a list of the test's own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/win/list_view_helpers.h"
#include "support/win/ui_test_support.h"

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using namespace dravik;
using Texts = std::vector<std::wstring>;

class ListViewHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    list_ = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_OVERLAPPEDWINDOW | LVS_REPORT, 0, 0, 380, 280,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(list_, nullptr);
    for (int c = 0; c < 2; ++c) {
      LVCOLUMNW column{.mask = LVCF_WIDTH, .cx = 100};
      ::SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
  }
  void TearDown() override { ::DestroyWindow(list_); }

  void add(std::wstring name, std::wstring pid) {
    LVITEMW item{.mask = LVIF_TEXT, .iItem = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)),
                 .pszText = name.data()};
    const LRESULT row = ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMW sub{.iSubItem = 1, .pszText = pid.data()};
    ::SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
  }
  Texts column(int index) {
    Texts texts;
    for (int r = 0; r < ::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0); ++r) {
      wchar_t text[64] = {};
      LVITEMW item{.iSubItem = index, .pszText = text, .cchTextMax = 63};
      ::SendMessageW(list_, LVM_GETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
      texts.push_back(text);
    }
    return texts;
  }
  HWND list_ = nullptr;
};

TEST_F(ListViewHelpersTest, SortsAsTextFirstDescendingAndKeepsNewRowsInPlace) {
  add(L"beta", L"9");
  add(L"Alpha", L"10");
  add(L"gamma", L"100");
  EXPECT_FALSE(ListSortState(list_).sorting);
  SortListView(list_, 2);
  EXPECT_EQ(column(1), (Texts{L"9", L"100", L"10"}));
  SortListView(list_, 1);  // another column: the list's order turns again
  EXPECT_EQ(column(0), (Texts{L"Alpha", L"beta", L"gamma"}));
  SortListViewAuto(list_, 2);  // keeps the order
  EXPECT_EQ(column(1), (Texts{L"10", L"100", L"9"}));
  add(L"delta", L"0");  // the PID is filled in after the insertion
  testsupport::PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(column(1), (Texts{L"0", L"10", L"100", L"9"}));
  SortListView(list_, 1);  // descending by name, known at insertion: in place at once
  add(L"epsilon", L"5");
  EXPECT_EQ(column(0), (Texts{L"gamma", L"epsilon", L"delta", L"beta", L"Alpha"}));
}

TEST_F(ListViewHelpersTest, TheColumnLockRestoresTheListAndLeavesWithIt) {
  const auto original = ::GetWindowLongPtrW(list_, GWLP_WNDPROC);
  HookColumnLock(list_);
  EXPECT_NE(::GetWindowLongPtrW(list_, GWLP_WNDPROC), original);
  UnhookColumnLock(list_);
  EXPECT_EQ(::GetWindowLongPtrW(list_, GWLP_WNDPROC), original);
  HookColumnLock(list_);
  ::DestroyWindow(list_);  // must not crash, and leaves nothing behind
  EXPECT_FALSE(ColumnLockInstalled(list_));
}

}  // namespace
