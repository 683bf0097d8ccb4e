#pragma once
#include <windows.h>
#include <pdh.h>
#include <pdhmsg.h>

#include "platform/performance.h"

namespace platform::win32 {

class Win32PerformanceCounters final : public PerformanceCounters {
 public:
  ~Win32PerformanceCounters() override { closeQuery(); }
  bool openQuery() override;
  std::uintptr_t addCounter(const std::wstring& path) override;
  long collect() override;
  Value doubleValue(std::uintptr_t counter) override;
  void closeQuery() override;

 private:
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
