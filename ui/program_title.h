#pragma once
// The product's name: the title of its windows and boxes in every language.

namespace dravik {

inline constexpr wchar_t kProgramTitle[] = L"Dravik Task Manager";

}  // namespace dravik
