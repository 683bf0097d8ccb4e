#pragma once
// The Services list's columns.
#include "ui/list_column.h"

namespace dravik {

inline constexpr ListColumn kServiceColumns[] = {
    {L"Display Name", "53", 2540, false, 0.18},
    {L"Name", "54", 2540, false, 0.13},
    {L"State", "55", 2117, false},
    {L"Startup Type", "56", 2540, false, 0.08},
    {L"Path", "57", 2540, false, 0.2},
    {L"Service Type", "58", 2540, false, 0.12},
    {L"Log On As", "59", 2540, false},
    {L"Group", "60", 2540, false},
};

}  // namespace dravik
