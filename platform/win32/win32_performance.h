#pragma once
#include <windows.h>
#include <pdh.h>
#include <pdhmsg.h>

#include <memory>

#include "platform/performance.h"

namespace platform::win32 {

// The performance data helper, loaded from the system folder when the first
// query opens; without it no query opens and no counter is valid.
class Win32PerformanceCounters final : public PerformanceCounters {
 public:
  Win32PerformanceCounters();
  ~Win32PerformanceCounters() override;
  bool openQuery() override;
  std::uintptr_t addCounter(const std::wstring& path) override;
  long collect() override;
  Value doubleValue(std::uintptr_t counter) override;
  void closeQuery() override;

 private:
  struct Pdh;
  std::unique_ptr<Pdh> pdh_;  // outlives the query, which is closed first
  PDH_HQUERY query_ = nullptr;
};

class Win32MemoryInfo final : public MemoryInfo {
 public:
  bool status(MemorySample& sample) override;
};

class Win32Locale final : public Locale {
 public:
  NumberFormat numberFormat() override;
};

}  // namespace platform::win32
