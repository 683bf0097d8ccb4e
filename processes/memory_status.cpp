#include "processes/memory_status.h"

#include "processes/number_text.h"

namespace dravik {

namespace {

using Field = std::uint64_t platform::MemorySample::*;

// One figure of a memory type (0 physical, 1 page file, 2 virtual), the
// totals in the first column and what is available in the second.
std::optional<std::uint64_t> Figure(const platform::MemorySample& s, int type, int column) {
  static constexpr Field kFields[3][2] = {
      {&platform::MemorySample::totalPhys, &platform::MemorySample::availPhys},
      {&platform::MemorySample::totalPageFile, &platform::MemorySample::availPageFile},
      {&platform::MemorySample::totalVirtual, &platform::MemorySample::availVirtual},
  };
  if (type < 0 || type > 2) return std::nullopt;
  return s.*kFields[type][column];
}

std::optional<std::uint64_t> TotalOf(const platform::MemorySample& s, int type) { return Figure(s, type, 0); }

std::optional<std::uint64_t> AvailableOf(const platform::MemorySample& s, int type) {
  return Figure(s, type, 1);
}

}  // namespace

CMemoryStatus::CMemoryStatus(platform::MemoryInfo& memory) : memory_(memory) { refresh(); }

bool CMemoryStatus::refresh() {
  previous_ = current_;
  current_ = platform::MemorySample{};
  if (memory_.status(current_)) return true;
  // Whatever a failed query left behind is not a measurement.
  current_ = platform::MemorySample{};
  return false;
}

std::optional<std::uint64_t> CMemoryStatus::total(int memoryType) const {
  return TotalOf(current_, memoryType);
}

std::optional<std::uint64_t> CMemoryStatus::available(int memoryType) const {
  return AvailableOf(current_, memoryType);
}

std::optional<std::int64_t> CMemoryStatus::change(int memoryType) const {
  const std::optional<std::uint64_t> before = AvailableOf(previous_, memoryType);
  if (!before || *before == 0) return std::nullopt;
  return static_cast<std::int64_t>(*AvailableOf(current_, memoryType)) -
         static_cast<std::int64_t>(*before);
}

std::wstring FormatBytesValue(std::uint64_t b, const platform::NumberFormat& format) {
  constexpr std::uint64_t kKilo = 1024;
  if (b < kKilo) return GroupDigits(b, format) + (b == 1 ? L" byte" : L" bytes");

  struct Unit {
    std::uint64_t threshold;
    const wchar_t* name;
  };
  static constexpr Unit kUnits[] = {
      {kKilo * kKilo * kKilo * kKilo, L" TB"},
      {kKilo * kKilo * kKilo, L" GB"},
      {kKilo * kKilo, L" MB"},
      {kKilo, L" KB"},
  };
  const Unit* unit = &kUnits[3];
  for (const Unit& u : kUnits) {
    if (b >= u.threshold) {
      unit = &u;
      break;
    }
  }
  const std::uint64_t t = unit->threshold;

  // The quotient kept to four decimals, rounded half to even like a
  // fixed-point currency value; the remainder is below 2^40, so times 10^4
  // it still fits 64 bits.
  std::uint64_t whole = b / t;
  const std::uint64_t scaledRest = (b % t) * 10000;
  std::uint64_t fourth = scaledRest / t;
  const std::uint64_t rest = scaledRest % t;
  if (rest * 2 > t || (rest * 2 == t && fourth % 2 == 1)) ++fourth;
  if (fourth == 10000) {
    ++whole;
    fourth = 0;
  }

  std::wstring number;
  if (whole < 10) {
    // Rounding can carry 9.995 up to "10.00"; four characters keep the
    // width of the shorter figures: "10.0".
    number = FixedDecimals(whole * 100 + (fourth + 50) / 100, 2, format).substr(0, 4);
  } else if (whole < 100) {
    number = FixedDecimals(whole * 10 + (fourth + 500) / 1000, 1, format);
  } else {
    number = std::to_wstring(whole + (fourth + 5000) / 10000);
  }
  return number + unit->name;
}

std::wstring FormatBytesValue(std::int64_t bytes, const platform::NumberFormat& format) {
  if (bytes >= 0) return FormatBytesValue(static_cast<std::uint64_t>(bytes), format);
  // A negative count is below every threshold: it shows as bytes.
  const std::uint64_t magnitude = static_cast<std::uint64_t>(-(bytes + 1)) + 1;
  return L"-" + GroupDigits(magnitude, format) + L" bytes";
}

}  // namespace dravik
