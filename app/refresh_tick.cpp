#include "app/refresh_tick.h"

#include "ui/status_text.h"
#include "processes/number_text.h"

namespace dravik {

namespace {
constexpr int kCountPanel = 1;
constexpr int kCpuPanel = 2;
constexpr int kUsedMemoryPanel = 3;
constexpr int kAvailableMemoryPanel = 4;
constexpr int kPhysical = static_cast<int>(MemoryType::Physical);
}  // namespace

std::wstring TaskCountPanelText(int rows, const Language& language) {
  return StatusText(std::to_wstring(rows), language.text(text_key::kTasksTab));
}

std::wstring UsedMemoryPanelText(const CMemoryStatus& memory, const Language& language,
                                 const platform::NumberFormat& format) {
  const std::uint64_t total = memory.total(kPhysical).value_or(0);
  const std::uint64_t available = memory.available(kPhysical).value_or(0);
  double percent = 0;
  if (total != 0) {
    percent = 100.0 * (static_cast<double>(total) - static_cast<double>(available)) /
              static_cast<double>(total);
  }
  return StatusText(TwoDecimals(percent, format) + L"%", language.text(text_key::kMemoryInUse));
}

std::wstring AvailableMemoryPanelText(const CMemoryStatus& memory, const Language& language,
                                      const platform::NumberFormat& format) {
  return StatusText(FormatBytes(memory.available(kPhysical).value_or(0), format),
                    language.text(text_key::kMemoryAvailable));
}

RefreshTick::RefreshTick(Parts parts, const Language& language,
                         platform::PerformanceCounters& counters, platform::MemoryInfo& memory,
                         platform::Locale& locale)
    : parts_(std::move(parts)),
      language_(language),
      processor_(counters),
      memory_(memory),
      locale_(locale) {}

void RefreshTick::tick() {
  if (parts_.refreshTaskList) parts_.refreshTaskList();
  if (parts_.selectedTab && parts_.selectedTab() == Tab::Tasks) writeTaskCountPanel();
  updateCpuUsage();
  writeMemoryPanels();
}

void RefreshTick::writeTaskCountPanel() {
  const int rows = parts_.taskRowCount ? parts_.taskRowCount() : 0;
  parts_.setStatusPanel(kCountPanel, TaskCountPanelText(rows, language_));
}

void RefreshTick::openProcessorCounter() {
  processor_.open();
  updateCpuUsage();
}

void RefreshTick::updateCpuUsage() {
  const std::optional<std::wstring> text =
      processor_.UpdateCpuUsage(language_, locale_.numberFormat());
  if (text) parts_.setStatusPanel(kCpuPanel, *text);
}

void RefreshTick::writeMemoryPanels() {
  const platform::NumberFormat format = locale_.numberFormat();
  const CMemoryStatus memory(memory_);
  parts_.setStatusPanel(kUsedMemoryPanel, UsedMemoryPanelText(memory, language_, format));
  parts_.setStatusPanel(kAvailableMemoryPanel, AvailableMemoryPanelText(memory, language_, format));
}

void RefreshTick::closeProcessorCounter() { processor_.close(); }

}  // namespace dravik
