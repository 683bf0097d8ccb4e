// Sorting of a real list view under Wine, on a list of the test's own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/win/list_view_helpers.h"
#include "support/win/tab_test_window.h"
#include "support/win/ui_test_support.h"

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using namespace dravik;
using Texts = std::vector<std::wstring>;

// The list of the pages' test window, with rows of a name and a PID.
class ListViewHelpersTest : public ::testing::Test {
 protected:
  void add(std::wstring name, std::wstring pid) {
    LVITEMW item{.mask = LVIF_TEXT, .iItem = window_.rows(), .pszText = name.data()};
    const LRESULT row = ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMW sub{.iSubItem = 1, .pszText = pid.data()};
    ::SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
  }
  Texts column(int index) {
    Texts texts;
    for (int r = 0; r < window_.rows(); ++r) texts.push_back(window_.text(r, index));
    return texts;
  }
  tabtest::TabWindow window_{Tab::Tasks};
  HWND list_ = window_.list;
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

}  // namespace
