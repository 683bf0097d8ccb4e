#include "platform/win32/win32_performance.h"

#include "platform/win32/system_library.h"

namespace platform::win32 {

struct Win32PerformanceCounters::Pdh {
  SystemLibrary library{L"pdh.dll"};
  decltype(::PdhOpenQueryW)* openQuery = library.find<decltype(::PdhOpenQueryW)>("PdhOpenQueryW");
  decltype(::PdhAddCounterW)* addCounter = library.find<decltype(::PdhAddCounterW)>("PdhAddCounterW");
  decltype(::PdhCollectQueryData)* collect =
      library.find<decltype(::PdhCollectQueryData)>("PdhCollectQueryData");
  decltype(::PdhGetFormattedCounterValue)* formattedValue =
      library.find<decltype(::PdhGetFormattedCounterValue)>("PdhGetFormattedCounterValue");
  decltype(::PdhCloseQuery)* closeQuery = library.find<decltype(::PdhCloseQuery)>("PdhCloseQuery");

  bool complete() const { return openQuery && addCounter && collect && formattedValue && closeQuery; }
};

Win32PerformanceCounters::Win32PerformanceCounters() = default;

Win32PerformanceCounters::~Win32PerformanceCounters() { closeQuery(); }

bool Win32PerformanceCounters::openQuery() {
  if (query_) return true;
  if (!pdh_) pdh_ = std::make_unique<Pdh>();
  if (!pdh_->complete()) return false;
  return pdh_->openQuery(nullptr, 1, &query_) == ERROR_SUCCESS;
}

std::uintptr_t Win32PerformanceCounters::addCounter(const std::wstring& path) {
  if (!query_) return 0;
  PDH_HCOUNTER counter = nullptr;
  if (pdh_->addCounter(query_, path.c_str(), 0, &counter) != ERROR_SUCCESS) return 0;
  return reinterpret_cast<std::uintptr_t>(counter);
}

long Win32PerformanceCounters::collect() {
  if (!query_) return static_cast<long>(PDH_INVALID_HANDLE);
  return static_cast<long>(pdh_->collect(query_));
}

PerformanceCounters::Value Win32PerformanceCounters::doubleValue(std::uintptr_t counter) {
  if (!query_ || counter == 0) return {0, static_cast<long>(PDH_INVALID_HANDLE)};
  PDH_FMT_COUNTERVALUE value{};
  const PDH_STATUS status = pdh_->formattedValue(reinterpret_cast<PDH_HCOUNTER>(counter),
                                                         PDH_FMT_DOUBLE, nullptr, &value);
  // A failed call may leave the value's own status unset.
  if (status != ERROR_SUCCESS) return {0, static_cast<long>(status)};
  return {value.doubleValue, static_cast<long>(value.CStatus)};
}

void Win32PerformanceCounters::closeQuery() {
  if (query_) pdh_->closeQuery(query_);
  query_ = nullptr;
}

bool Win32MemoryInfo::status(MemorySample& sample) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!::GlobalMemoryStatusEx(&status)) return false;
  sample.length = status.dwLength;
  sample.memoryLoad = status.dwMemoryLoad;
  sample.totalPhys = status.ullTotalPhys;
  sample.availPhys = status.ullAvailPhys;
  sample.totalPageFile = status.ullTotalPageFile;
  sample.availPageFile = status.ullAvailPageFile;
  sample.totalVirtual = status.ullTotalVirtual;
  sample.availVirtual = status.ullAvailVirtual;
  sample.availExtendedVirtual = status.ullAvailExtendedVirtual;
  return true;
}

NumberFormat Win32Locale::numberFormat() {
  NumberFormat format;
  wchar_t text[16];
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 16) > 1)
    format.decimalSeparator = text;
  // An empty group separator is a valid choice of the user.
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, 16) > 0)
    format.groupSeparator = text;
  return format;
}

}  // namespace platform::win32
