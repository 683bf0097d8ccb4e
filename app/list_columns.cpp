#include "app/list_columns.h"

namespace dravik {

namespace {

constexpr ListColumn kAppsColumns[] = {
    {L"Task", "37", 2540, false},
    {L"Status", "38", 2540, false},
    {L"hWnd", nullptr, 2, false},
    {L"PID", "39", 2540, false},
};

// Every figure column is right-aligned; the name, path and priority band read
// better from the left.
constexpr ListColumn kProcessColumns[] = {
    {L"Process", "40", 2540, false},
    {L"PID", "39", 1411, true},
    {L"Mem. usage", "41", 1764, true},
    {L"Path", "42", 3528, false},
    {L"Priority", "43", 1940, false},
    {L"HandleCount", "44", 1940, true},
    {L"ThreadCount", "45", 1940, true},
    {L"PageFaults", "46", 1940, true},
    {L"PageFileUsage", "47", 2258, true},
    {L"PeakPageFileUsage", "48", 2540, true},
    {L"NonPagedPoolUsage", "49", 2540, true},
    {L"PagedPoolUsage", "50", 2258, true},
    {L"PeakNonPagedPoolUsage", "51", 2540, true},
    {L"PeakPagedPoolUsage", "52", 2540, true},
};

constexpr ListColumn kServiceColumns[] = {
    {L"Display Name", "53", 2540, false},
    {L"Name", "54", 2540, false},
    {L"State", "55", 2117, false},
    {L"Startup Type", "56", 2540, false},
    {L"Path", "57", 2540, false},
    {L"Service Type", "58", 2540, false},
    {L"Log On As", "59", 2540, false},
    {L"Group", "60", 2540, false},
};

constexpr ListColumn kNetworkColumns[] = {
    {L"Process", "40", 2540, false},
    {L"Protocol", "61", 1764, false},
    {L"Local Address", "62", 2540, false},
    {L"Local Port", "63", 2540, false},
    {L"Remote Address", "64", 2540, false},
    {L"Remote Port", "65", 2540, false},
    {L"Status", "66", 2152, false},
    {L"Path", "42", 2540, false},
};

}  // namespace

std::span<const ListColumn> ListColumns(Tab list) {
  switch (list) {
    case Tab::Tasks: return kAppsColumns;
    case Tab::Processes: return kProcessColumns;
    case Tab::Services: return kServiceColumns;
    case Tab::Network: return kNetworkColumns;
  }
  return {};
}

}  // namespace dravik
