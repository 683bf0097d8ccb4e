#pragma once
// Performance figures: the processor counter, the memory status and the
// locale's number format the figures are shown in.
#include <cstdint>
#include <string>

namespace platform {

// The performance-data query of one counter set.
class PerformanceCounters {
 public:
  virtual ~PerformanceCounters() = default;
  // Opens the query (no data source); false when it could not be opened.
  virtual bool openQuery() = 0;
  // Adds a counter by its path; the counter's handle, 0 when it failed.
  virtual std::uintptr_t addCounter(const std::wstring& path) = 0;
  // Samples every counter of the query; the call's status.
  virtual long collect() = 0;
  // The counter's value as a double, with the counter status of the value
  // (0 valid data, 1 new data, anything else not usable).
  struct Value {
    double value = 0;
    long status = -1;
  };
  virtual Value doubleValue(std::uintptr_t counter) = 0;
  virtual void closeQuery() = 0;
};

// GlobalMemoryStatusEx's record, field for field.
struct MemorySample {
  std::uint32_t length = 64;
  std::uint32_t memoryLoad = 0;
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availPageFile = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availVirtual = 0;
  std::uint64_t availExtendedVirtual = 0;
};

class MemoryInfo {
 public:
  virtual ~MemoryInfo() = default;
  // Fills `sample`; false when the query failed (the sample is then untouched).
  virtual bool status(MemorySample& sample) = 0;
};

// The user's number format: what separates decimals and digit groups.
struct NumberFormat {
  std::wstring decimalSeparator = L".";
  std::wstring groupSeparator = L",";
};

class Locale {
 public:
  virtual ~Locale() = default;
  virtual NumberFormat numberFormat() = 0;
};

}  // namespace platform
