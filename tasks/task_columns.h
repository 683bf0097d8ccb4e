#pragma once
// The Tasks list's columns.
#include "ui/list_column.h"

namespace dravik {

inline constexpr ListColumn kTaskColumns[] = {
    {L"Task", "37", 2540, false, 0.55},
    {L"Status", "38", 2540, false, 0.2},
    {L"hWnd", nullptr, 2, false, 0},
    {L"PID", "39", 2540, false, 0.1},
};

// The zero-width column that carries the window handle; the user must never
// be able to drag it open (1-based 3, 0-based header item 2).
inline constexpr int kHiddenHandleColumn = 3;

}  // namespace dravik
