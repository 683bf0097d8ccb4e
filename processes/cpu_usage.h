#pragma once
// The processor load of the first processor, sampled from the performance
// counters once a second for the status bar.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "localization/read_ini.h"
#include "platform/performance.h"

namespace dravik {

struct CounterInfo {
  std::uintptr_t handle = 0;
  std::wstring path;
};

class ProcessorCounter {
 public:
  static constexpr std::size_t kMostCounters = 100;
  static constexpr const wchar_t* kFirstProcessorLoad = L"\\Processor(0)\\% Processor Time";

  explicit ProcessorCounter(platform::PerformanceCounters& counters) : counters_(counters) {}
  ~ProcessorCounter() { close(); }
  ProcessorCounter(const ProcessorCounter&) = delete;
  ProcessorCounter& operator=(const ProcessorCounter&) = delete;

  // Opens the query with the first processor's load counter. A counter the
  // system lacks is still listed: its samples then never have a valid status.
  void open();
  // Appends a counter to the table (at most kMostCounters); its failure is not reported.
  void AddCounter(const std::wstring& counterName);
  // Samples the query: the status-bar text of the load, or nothing when the
  // sample is not valid (always the first sample of a rate counter).
  std::optional<std::wstring> UpdateCpuUsage(const Language& language,
                                             const platform::NumberFormat& format);
  void close();
  bool isOpen() const { return open_; }
  const std::vector<CounterInfo>& counters() const { return table_; }

 private:
  platform::PerformanceCounters& counters_;
  std::vector<CounterInfo> table_;
  bool open_ = false;
};

}  // namespace dravik
