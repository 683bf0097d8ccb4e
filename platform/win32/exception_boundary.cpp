#include "platform/win32/exception_boundary.h"

#include <set>
#include <string>
#include <system_error>

#include "platform/run_time_error.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

// The number and description of an exception, as far as it tells them.
std::pair<long, std::wstring> Describe(std::exception_ptr error) {
  const auto widen = [](const char* text) {
    std::wstring wide;
    for (const char* c = text; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return wide;
  };
  try {
    std::rethrow_exception(error);
  } catch (const std::system_error& e) {
    return {e.code().value(), widen(e.what())};
  } catch (const std::exception& e) {
    return {0, widen(e.what())};
  } catch (...) {
    return {0, L"Unknown error"};
  }
}

}  // namespace

void ReportUnexpected(const wchar_t* routine, std::exception_ptr error) noexcept {
  try {
    // The box runs a message loop of its own, where the same routine may
    // fail again: it is marked as reported before the box shows.
    // A worker thread reports through here as well as the window's thread.
    static CriticalSection lock;
    static std::set<std::wstring> reported;
    {
      const Locked held(lock);
      if (!reported.insert(routine).second) return;
    }
    const auto [number, description] = Describe(error);
    const std::wstring text = RunTimeErrorText(number, routine, description);
    ::MessageBoxW(nullptr, text.c_str(), kRunTimeErrorTitle, MB_OK | MB_ICONSTOP);
  } catch (...) {
    // Out of memory even for the report: the program goes on without it.
  }
}

}  // namespace platform::win32
