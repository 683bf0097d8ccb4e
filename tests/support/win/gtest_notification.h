#pragma once
// GoogleTest's Notification on a Win32 event, read before GoogleTest's own
// headers. The win32-thread-model runtime the tests share with the program has
// no std::mutex or std::condition_variable, which GoogleTest's version is
// built on; the rest of GoogleTest's locking on Windows is its own Win32 code.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

// Lets a controller thread hold back the threads it starts until Notify().
class Notification {
 public:
  Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { ::CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
