#include "app/list_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace dravik;

TEST(SortState, FirstClickSortsDescendingAndTheOrderBelongsToTheList) {
  SortState state;
  EXPECT_FALSE(state.sorting);
  SortToggle(state, 4);  // "PID"
  EXPECT_EQ(state, (SortState{true, 3, 1}));
  SortToggle(state, 1);  // another column still reverses the order
  EXPECT_EQ(state, (SortState{true, 0, 0}));
  SortToggle(state, 1);
  EXPECT_EQ(state.order, 1);
  // The automatic sort picks the column and keeps the order.
  SortAuto(state, 4);
  EXPECT_EQ(state, (SortState{true, 3, 1}));
}

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
  EXPECT_EQ(state, (SortState{true, 3, 1}));
  EXPECT_EQ(indexSort, L"1");  // only the Network list remembers its column

  for (int c = 1; c <= 14; ++c) EXPECT_TRUE(IsSortableColumn(Tab::Processes, c)) << c;
  EXPECT_FALSE(IsSortableColumn(Tab::Processes, 15));
  EXPECT_FALSE(IsSortableColumn(Tab::Services, 9));
  EXPECT_FALSE(IsSortableColumn(Tab::Network, 0));

  SortState network;
  EXPECT_TRUE(ColumnClick(Tab::Network, 3, 4, network, indexSort));
  EXPECT_EQ(indexSort, L"4");
  // The rebuild sorts by the remembered column in the same direction.
  SortAuto(network, NetworkSortColumn(indexSort));
  EXPECT_EQ(network, (SortState{true, 3, 1}));
}

TEST(SortState, ARememberedColumnThatIsNotANumberFallsBackToTheFirst) {
  EXPECT_EQ(NetworkSortColumn(L"8"), 8);
  for (const wchar_t* bad : {L"", L"x", L"9", L"0", L"-1", L"123"}) {
    EXPECT_EQ(NetworkSortColumn(bad), 1) << bad;
  }
}

TEST(SortState, CellsCompareAsTextWithoutRegardToCase) {
  std::vector<std::wstring> cells{L"9", L"10", L"b", L"A", L"a2", L""};
  std::sort(cells.begin(), cells.end(),
            [](const auto& a, const auto& b) { return CompareCellTexts(a, b, 0) < 0; });
  EXPECT_EQ(cells, (std::vector<std::wstring>{L"", L"10", L"9", L"A", L"a2", L"b"}));
  EXPECT_GT(CompareCellTexts(L"10", L"9", 1), 0);  // descending turns it round
  EXPECT_EQ(CompareCellTexts(L"Abc", L"aBC", 0), 0);
}

TEST(ColumnLock, RefusesOnlyDragsThatWouldOpenTheHandleColumn) {
  using H = HeaderNotification;
  EXPECT_TRUE(RefuseHeaderTrack(H::BeginTrack, 2, 1));
  EXPECT_TRUE(RefuseHeaderTrack(H::DividerDoubleClick, 2, 2));
  EXPECT_TRUE(RefuseHeaderTrack(H::BeginTrack, 1, 2));
  for (int item : {-1, 0, 1, 3}) {
    EXPECT_FALSE(RefuseHeaderTrack(H::BeginTrack, item, item)) << item;
    EXPECT_FALSE(RefuseHeaderTrack(H::DividerDoubleClick, item, item)) << item;
  }
  EXPECT_FALSE(RefuseHeaderTrack(H::Other, 2, 2));
}

}  // namespace
