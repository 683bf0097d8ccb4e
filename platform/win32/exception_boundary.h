#pragma once
// Where a C++ exception stops: no exception may leave a window procedure, a
// subclass procedure, a timer or a thread the system calls into. One that
// gets that far is unexpected: the user is told once, in the "Warning" box
// naming the routine, and the program goes on.
#include <windows.h>

#include <exception>
#include <utility>

namespace platform::win32 {

// Shows the "Warning" box for the exception being handled, the first time
// `routine` lets one through; later ones of the same routine go unreported,
// so a failing paint or timer cannot bury the user in boxes.
void ReportUnexpected(const wchar_t* routine, std::exception_ptr error) noexcept;

// Runs `work` and returns its result; `fallback` when it threw.
template <class Work, class Result>
Result Guarded(const wchar_t* routine, Result fallback, Work&& work) noexcept {
  try {
    return std::forward<Work>(work)();
  } catch (...) {
    ReportUnexpected(routine, std::current_exception());
    return fallback;
  }
}

}  // namespace platform::win32
