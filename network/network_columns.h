#pragma once
// The Network list's columns, in the order of the row texts.
#include <iterator>

#include "network/network_rows.h"
#include "ui/list_column.h"

namespace dravik {

inline constexpr ListColumn kNetworkColumns[] = {
    {L"Process", "40", 2540, false, 0.12},
    {L"Protocol", "61", 1764, false},
    {L"Local Address", "62", 2540, false, 0.12},
    {L"Local Port", "63", 2540, false, 0.09},
    {L"Remote Address", "64", 2540, false, 0.12},
    {L"Remote Port", "65", 2540, false, 0.09},
    {L"Status", "66", 2152, false},
    {L"Path", "42", 2540, false, 0.3},
};
static_assert(std::size(kNetworkColumns) == kNetColumnCount, "a column for every row text");

}  // namespace dravik
