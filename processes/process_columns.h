#pragma once
// The Processes list: each column with the instrumentation property that
// fills it. A column is added here (and its header to the language files).
#include <array>
#include <cstddef>
#include <iterator>

#include "ui/list_column.h"

namespace dravik {

struct ProcessColumn {
  const wchar_t* property;  // of Win32_Process
  ListColumn column;
};

// Every figure column is right-aligned; the name, path and priority band read
// better from the left.
inline constexpr ProcessColumn kProcessColumns[] = {
    {L"Caption", {L"Process", "40", 2540, false, 0.15}},
    {L"ProcessID", {L"PID", "39", 1411, true}},
    {L"WorkingSetSize", {L"Mem. usage", "41", 1764, true}},
    {L"ExecutablePath", {L"Path", "42", 3528, false, 0.25}},
    {L"Priority", {L"Priority", "43", 1940, false}},
    {L"HandleCount", {L"HandleCount", "44", 1940, true}},
    {L"ThreadCount", {L"ThreadCount", "45", 1940, true}},
    {L"PageFaults", {L"PageFaults", "46", 1940, true}},
    {L"PageFileUsage", {L"PageFileUsage", "47", 2258, true}},
    {L"PeakPageFileUsage", {L"PeakPageFileUsage", "48", 2540, true}},
    {L"QuotaNonPagedPoolUsage", {L"NonPagedPoolUsage", "49", 2540, true}},
    {L"QuotaPagedPoolUsage", {L"PagedPoolUsage", "50", 2258, true}},
    {L"QuotaPeakNonPagedPoolUsage", {L"PeakNonPagedPoolUsage", "51", 2540, true}},
    {L"QuotaPeakPagedPoolUsage", {L"PeakPagedPoolUsage", "52", 2540, true}},
};
inline constexpr std::size_t kProcessFieldCount = std::size(kProcessColumns);

// The list columns alone, in the same order.
inline constexpr std::array<ListColumn, kProcessFieldCount> kProcessListColumns = [] {
  std::array<ListColumn, kProcessFieldCount> columns{};
  for (std::size_t i = 0; i < kProcessFieldCount; ++i) columns[i] = kProcessColumns[i].column;
  return columns;
}();

// Positions of the fields that other code reads by meaning.
namespace process_field {
inline constexpr std::size_t kName = 0;
inline constexpr std::size_t kId = 1;
inline constexpr std::size_t kWorkingSet = 2;
inline constexpr std::size_t kPath = 3;
inline constexpr std::size_t kPriority = 4;
}  // namespace process_field

}  // namespace dravik
