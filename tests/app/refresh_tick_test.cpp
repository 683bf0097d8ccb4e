// The status-bar panels over doubles: Wine has no per-processor counter, and
// its memory status and locale are what they are.
#include "app/refresh_tick.h"

#include <gtest/gtest.h>

#include <map>

#include "doubles/fake_tasks.h"

namespace {

constexpr std::uint64_t MiB = 1024 * 1024, GiB = MiB * 1024;

class RefreshTickTest : public ::testing::Test {
 protected:
  RefreshTickTest() {
    memory.sample.totalPhys = 16 * GiB;
    memory.sample.availPhys = 4 * GiB;
  }
  dravik::RefreshTick::Parts parts() {
    return {[this] { order.push_back(0); }, [] { return 12; }, [this] { return tab; },
            [this](int panel, const std::wstring& text) {
              order.push_back(panel);
              panels[panel] = text;
            }};
  }

  fakes::TempLanguage file{"68=CPU Usage\r\n70=Mem Usage\r\n72=Available\r\n74=Tasks\r\n"};
  fakes::FakePerformanceCounters counters;
  fakes::FakeMemoryInfo memory;
  fakes::FakeLocale locale;
  std::map<int, std::wstring> panels;
  std::vector<int> order;  // 0 the task list, then panel numbers
  dravik::Tab tab = dravik::Tab::Tasks;
  dravik::RefreshTick tick{parts(), file.language(), counters, memory, locale};
};

TEST_F(RefreshTickTest, ATickDoesItsStepsInOrderAndLeavesPanelOneToOtherTabs) {
  tick.openProcessorCounter();
  EXPECT_EQ(counters.paths, (std::vector<std::wstring>{L"\\Processor(0)\\% Processor Time"}));
  counters.samples = {{37.5, 0}};
  order.clear();
  tick.tick();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(panels[1], L"(12) Tasks");
  EXPECT_EQ(panels[2], L"(37.50%) CPU Usage");
  EXPECT_EQ(panels[3], L"(75.00%) Mem Usage");
  EXPECT_EQ(panels[4], L"(4.00 GB) Available");
  tab = dravik::Tab::Services;
  order.clear();
  tick.tick();
  EXPECT_EQ(order, (std::vector<int>{0, 3, 4}));  // the task list is kept current anyway
}

TEST_F(RefreshTickTest, MemoryPanelsInTheLocalesFormatAndOnAFailedQuery) {
  locale.format = {L",", L"."};
  tick.writeMemoryPanels();
  EXPECT_EQ(panels[3], L"(75,00%) Mem Usage");
  memory.sample.availPhys = 1536 * MiB;
  tick.writeMemoryPanels();
  EXPECT_EQ(panels[4], L"(1,50 GB) Available");
  locale.format = {};
  memory.fails = true;
  tick.writeMemoryPanels();
  EXPECT_EQ(panels[3], L"(0.00%) Mem Usage");
  EXPECT_EQ(panels[4], L"(0 bytes) Available");
  memory.fails = false;
  memory.sample.totalPhys = 0;  // a query that "works" but reports nothing
  tick.writeMemoryPanels();
  EXPECT_EQ(panels[3], L"(0.00%) Mem Usage");
}

TEST_F(RefreshTickTest, CpuPanelOnlyOnAValidSampleOfAnOpenCounter) {
  counters.canOpen = false;
  counters.samples = {{60, 0}};
  tick.openProcessorCounter();
  tick.tick();
  EXPECT_EQ(panels.count(2), 0u);
  counters.canOpen = true;
  counters.samples = {};
  tick.openProcessorCounter();  // the priming sample has no valid value
  EXPECT_EQ(panels.count(2), 0u);
  counters.samples = {{12.345, 1}, {99.0, 0xC0000BB9L}, {5, 0}};
  for (const wchar_t* expected : {L"(12.35%) CPU Usage", L"(12.35%) CPU Usage", L"(5.00%) CPU Usage"}) {
    tick.updateCpuUsage();
    EXPECT_EQ(panels[2], expected);
  }
  counters.samples = {{60, 0}};
  tick.closeProcessorCounter();
  tick.tick();
  EXPECT_EQ(panels[2], L"(5.00%) CPU Usage");
}

}  // namespace
