#include "processes/cpu_usage.h"

#include "ui/status_text.h"
#include "processes/number_text.h"

namespace dravik {

namespace {
constexpr long kValidData = 0;
constexpr long kNewData = 1;
}  // namespace

void ProcessorCounter::open() {
  if (open_) return;
  open_ = counters_.openQuery();
  if (open_) AddCounter(kFirstProcessorLoad);
}

void ProcessorCounter::AddCounter(const std::wstring& counterName) {
  if (!open_ || table_.size() >= kMostCounters) return;
  table_.push_back({counters_.addCounter(counterName), counterName});
}

std::optional<std::wstring> ProcessorCounter::UpdateCpuUsage(const Language& language,
                                                             const platform::NumberFormat& format) {
  // A tick can come before the query is open; there is nothing to sample then.
  if (!open_ || table_.empty()) return std::nullopt;
  counters_.collect();
  const platform::PerformanceCounters::Value sample = counters_.doubleValue(table_.front().handle);
  if (sample.status != kValidData && sample.status != kNewData) return std::nullopt;
  return StatusText(TwoDecimals(sample.value, format) + L"%", language.text(text_key::kCpuUsage));
}

void ProcessorCounter::close() {
  if (!open_) return;
  counters_.closeQuery();
  table_.clear();
  open_ = false;
}

}  // namespace dravik
