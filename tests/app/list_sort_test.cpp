// Which clicks sort which list; the sorting itself is shown on a real list in
// win/list_view_helpers_test.cpp.
#include "app/list_sort.h"

#include <gtest/gtest.h>

namespace {

using namespace dravik;

TEST(SortState, ColumnClicksFollowTheRulesOfEachList) {
  std::wstring indexSort = L"1";
  SortState state;
  // An empty list ignores the click, and then stays unsorted.
  EXPECT_FALSE(ColumnClick(Tab::Services, 0, 2, state, indexSort));
  EXPECT_EQ(state, SortState{});
  // The hidden handle column of the Tasks list does not sort.
  EXPECT_FALSE(ColumnClick(Tab::Tasks, 5, 3, state, indexSort));
  EXPECT_EQ(state, SortState{});
  EXPECT_TRUE(ColumnClick(Tab::Tasks, 5, 4, state, indexSort));
  EXPECT_EQ(state, (SortState{true, 3, 1}));  // the first click sorts descending
  EXPECT_EQ(indexSort, L"1");  // only the Network list remembers its column
  EXPECT_FALSE(IsSortableColumn(Tab::Processes, 15));

  SortState network;
  EXPECT_TRUE(ColumnClick(Tab::Network, 3, 8, network, indexSort));
  EXPECT_EQ(NetworkSortColumn(indexSort), 8);
  for (const wchar_t* bad : {L"x", L"9", L"0"}) EXPECT_EQ(NetworkSortColumn(bad), 1) << bad;
}

}  // namespace
