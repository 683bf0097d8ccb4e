// The once-a-second tick and the status-bar panels it writes, over doubles of
// the performance counters (Wine has no per-processor counter), the memory
// status and the locale.
#include "app/refresh_tick.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "doubles/fake_profile_files.h"
#include "doubles/fake_tasks.h"

namespace {

constexpr std::uint64_t MiB = 1024 * 1024, GiB = MiB * 1024;

class RefreshTickTest : public ::testing::Test {
 protected:
  RefreshTickTest() {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "t.lng", std::ios::binary)
        << "[Main]\r\n68=CPU Usage\r\n70=Mem Usage\r\n72=Available\r\n74=Tasks\r\n";
    memory.sample.totalPhys = 16 * GiB;
    memory.sample.availPhys = 4 * GiB;
  }
  ~RefreshTickTest() override { std::filesystem::remove_all(dir_); }

  dravik::RefreshTick::Parts parts() {
    return {[this] { order.push_back(L"tasks"); }, [] { return 12; }, [this] { return tab; },
            [this](int panel, const std::wstring& text) {
              order.push_back(L"panel " + std::to_wstring(panel));
              panels[panel] = text;
            }};
  }

  std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                               ("dravik-tick-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  fakes::FakeProfileFiles profiles;
  dravik::Language language{profiles, fakes::WidePath((dir_ / "t.lng").string())};
  fakes::FakePerformanceCounters counters;
  fakes::FakeMemoryInfo memory;
  fakes::FakeLocale locale;
  std::map<int, std::wstring> panels;
  std::vector<std::wstring> order;
  dravik::Tab tab = dravik::Tab::Tasks;
  dravik::RefreshTick tick{parts(), language, counters, memory, locale};
};

TEST_F(RefreshTickTest, ATickRefreshesTheTasksThenWritesThePanelsInOrder) {
  tick.openProcessorCounter();
  counters.samples = {{37.5, 0}};
  order.clear();
  tick.tick();
  EXPECT_EQ(order, (std::vector<std::wstring>{L"tasks", L"panel 1", L"panel 2", L"panel 3", L"panel 4"}));
  EXPECT_EQ(panels[1], L"(12) Tasks");
  EXPECT_EQ(panels[2], L"(37.50%) CPU Usage");
  EXPECT_EQ(panels[3], L"(75.00%) Mem Usage");
  EXPECT_EQ(panels[4], L"(4.00 GB) Available");
  // On the other tabs the count panel is theirs; the task list is kept current anyway.
  tab = dravik::Tab::Network;
  panels[1] = L"(57) Connections";
  locale.format = {L",", L"."};
  order.clear();
  tick.tick();
  EXPECT_EQ(order.front(), L"tasks");
  EXPECT_EQ(panels[1], L"(57) Connections");
  EXPECT_EQ(panels[3], L"(75,00%) Mem Usage");
}

TEST_F(RefreshTickTest, FailedQueriesShowZeroAndTheCpuPanelTakesOnlyValidSamplesOfAnOpenCounter) {
  memory.fails = true;
  tick.tick();  // the counter is not open yet: never sampled
  EXPECT_EQ(panels[3], L"(0.00%) Mem Usage");
  EXPECT_EQ(panels[4], L"(0 bytes) Available");
  EXPECT_EQ(counters.collects, 0);
  EXPECT_EQ(panels.count(2), 0u);
  tick.openProcessorCounter();
  EXPECT_EQ(counters.paths, (std::vector<std::wstring>{L"\\Processor(0)\\% Processor Time"}));
  EXPECT_EQ(panels.count(2), 0u);  // the priming sample shows nothing
  counters.samples = {{12.345, 1}, {99.0, 0xC0000BB9L}, {5, 0}};
  for (const wchar_t* expected : {L"(12.35%) CPU Usage", L"(12.35%) CPU Usage", L"(5.00%) CPU Usage"}) {
    tick.updateCpuUsage();
    EXPECT_EQ(panels[2], expected);
  }
  tick.closeProcessorCounter();
  tick.closeProcessorCounter();
  EXPECT_EQ(counters.closes, 1);
  counters.canOpen = false;  // a query that cannot open is never sampled
  tick.openProcessorCounter();
  panels.erase(2);
  counters.samples = {{60, 0}};
  tick.tick();
  EXPECT_EQ(panels.count(2), 0u);
}

TEST_F(RefreshTickTest, MissingLabelsLeaveTheFigureAndTheBlank) {
  dravik::Language empty{profiles, fakes::WidePath((dir_ / "missing.lng").string())};
  dravik::RefreshTick bare{parts(), empty, counters, memory, locale};
  bare.writeTaskCountPanel();
  bare.writeMemoryPanels();
  EXPECT_EQ(panels[1], L"(12) ");
  EXPECT_EQ(panels[3], L"(75.00%) ");
}

TEST(CounterTable, HoldsAtMostAHundredCounters) {
  fakes::FakePerformanceCounters counters;
  dravik::ProcessorCounter processor(counters);
  processor.open();
  for (int i = 0; i < 150; ++i) processor.AddCounter(L"\\Other(" + std::to_wstring(i) + L")");
  EXPECT_EQ(processor.counters().size(), 100u);
  EXPECT_EQ(processor.counters().front().path, L"\\Processor(0)\\% Processor Time");
}

}  // namespace
