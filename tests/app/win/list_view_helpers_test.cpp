// Sorting of a real list view under Wine, on a list of the test's own; the
// Network list keeping its order through a rebuild is shown in its own test.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/win/list_view_helpers.h"
#include "support/win/tab_test_window.h"

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using namespace dravik;
using Texts = std::vector<std::wstring>;

TEST(ListViewSort, SortsAsTextFirstDescendingAndPutsNewRowsInPlace) {
  tabtest::TabWindow window{Tab::Tasks};
  // A row of a name and a PID.
  const auto add = [&](std::wstring name, std::wstring pid) {
    LVITEMW item{.mask = LVIF_TEXT, .iItem = window.rows(), .pszText = name.data()};
    const LRESULT row = ::SendMessageW(window.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMW sub{.iSubItem = 1, .pszText = pid.data()};
    ::SendMessageW(window.list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
  };
  const auto column = [&](int index) {
    Texts texts;
    for (int r = 0; r < window.rows(); ++r) texts.push_back(window.text(r, index));
    return texts;
  };
  add(L"beta", L"9");
  add(L"Alpha", L"10");
  add(L"gamma", L"100");
  SortListView(window.list, 2);
  EXPECT_EQ(column(1), (Texts{L"9", L"100", L"10"}));
  SortListView(window.list, 1);  // another column: the list's order turns again
  EXPECT_EQ(column(0), (Texts{L"Alpha", L"beta", L"gamma"}));
  SortListView(window.list, 1);  // descending by name, known at insertion: in place at once
  add(L"delta", L"0");
  EXPECT_EQ(column(0), (Texts{L"gamma", L"delta", L"beta", L"Alpha"}));
}

}  // namespace
