#pragma once
// Memory figures by memory type, and byte counts as people read them.
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/performance.h"

namespace dravik {

enum class MemoryType { Physical = 0, PageFile = 1, Virtual = 2 };

// One sample of the memory status, taken when it is created, and the one
// before it once refresh() ran again.
class CMemoryStatus {
 public:
  explicit CMemoryStatus(platform::MemoryInfo& memory);
  // Takes a new sample; false when the query failed, and the sample then reads 0.
  bool refresh();
  // Types are 0 physical, 1 page file, 2 virtual; any other gives nothing.
  std::optional<std::uint64_t> total(int memoryType) const;
  std::optional<std::uint64_t> available(int memoryType) const;
  // Percent of physical memory in use.
  std::uint32_t load() const { return current_.memoryLoad; }
  // Available now minus available in the previous sample; nothing before a
  // second sample.
  std::optional<std::int64_t> change(int memoryType) const;

 private:
  platform::MemoryInfo& memory_;
  platform::MemorySample current_;
  platform::MemorySample previous_;
};

// The text of a byte count: "0 bytes", "1 byte", "1,023 bytes", "1.50 KB",
// "50.0 MB", "1024 KB", "2.00 GB", "1.00 TB". The core takes a signed
// 64-bit count; negative counts below 1024 show as negative bytes.
std::wstring FormatBytesValue(std::int64_t bytes, const platform::NumberFormat& format);
std::wstring FormatBytesValue(std::uint64_t bytes, const platform::NumberFormat& format);

// A negative 16- or 32-bit count is one that wrapped around: it is read as
// the unsigned number of the same bits (a 32-bit -1 is 4.00 GB).
template <std::integral T>
std::wstring FormatBytes(T bytes, const platform::NumberFormat& format) {
  if constexpr (std::is_signed_v<T> && sizeof(T) <= 4) {
    using Unsigned = std::make_unsigned_t<T>;
    return FormatBytesValue(static_cast<std::uint64_t>(static_cast<Unsigned>(bytes)), format);
  } else if constexpr (std::is_signed_v<T>) {
    return FormatBytesValue(static_cast<std::int64_t>(bytes), format);
  } else {
    return FormatBytesValue(static_cast<std::uint64_t>(bytes), format);
  }
}

}  // namespace dravik
