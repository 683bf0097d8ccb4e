// The status-bar panels over doubles: Wine has no per-processor counter, and
// its memory status and locale are what they are. The tick on the real memory
// status is walked in tasks/win/tasks_tab_test.cpp.
#include "app/refresh_tick.h"

#include <gtest/gtest.h>

#include <map>

#include "doubles/fake_tasks.h"

namespace {

TEST(RefreshTick, CpuAndMemoryPanelsInTheLocalesFormatKeepOrZeroWhatAQueryCannotTell) {
  fakes::TempLanguage file{"68=CPU Usage\r\n70=Mem Usage\r\n72=Available\r\n74=Tasks\r\n"};
  fakes::FakePerformanceCounters counters;
  fakes::FakeMemoryInfo memory;
  fakes::FakeLocale locale;
  std::map<int, std::wstring> panels;
  const dravik::RefreshTick::Parts parts{[] {}, [] { return 12; }, [] { return dravik::Tab::Tasks; },
                                         [&](int panel, const std::wstring& text) { panels[panel] = text; }};
  dravik::RefreshTick tick{parts, file.language(), counters, memory, locale};
  memory.sample.totalPhys = 16ull << 30;
  memory.sample.availPhys = 2ull << 30;
  locale.format = {L",", L"."};
  tick.openProcessorCounter();
  EXPECT_EQ(counters.paths, (std::vector<std::wstring>{L"\\Processor(0)\\% Processor Time"}));
  counters.samples = {{37.5, 0}, {99.0, 0xC0000BB9L}};
  tick.tick();
  EXPECT_EQ(panels[2], L"(37,50%) CPU Usage");
  EXPECT_EQ(panels[3], L"(87,50%) Mem Usage");
  EXPECT_EQ(panels[4], L"(2,00 GB) Available");
  locale.format = {};
  memory.fails = true;
  tick.tick();  // an invalid sample leaves the last value
  EXPECT_EQ(panels[2], L"(37,50%) CPU Usage");
  EXPECT_EQ(panels[3], L"(0.00%) Mem Usage");
  EXPECT_EQ(panels[4], L"(0 bytes) Available");
}

}  // namespace
