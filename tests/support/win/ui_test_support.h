#pragma once
// Helpers for tests of the program's own windows, which live on the test's
// thread: waiting while handling their messages, answering a modal message
// box from another thread, a control's character set, and a picture.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "support/win/test_support.h"

namespace testsupport {

// Handles this thread's window messages until `condition` holds or `timeout`
// passes; true when it held.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Handles this thread's window messages for `duration`.
void PumpFor(std::chrono::milliseconds duration);

// Waits on a thread of its own for a message box of this process, notes its
// title and text and presses `button` (IDOK, IDYES...). Needed because the box
// runs its own modal loop on the test's thread.
class MessageBoxAnswerer {
 public:
  // `whileShown` runs on the answering thread once the box is seen, before it is answered.
  explicit MessageBoxAnswerer(int button, std::function<void()> whileShown = nullptr);
  ~MessageBoxAnswerer() { finish(); }
  // Waits for the thread; true when a box was seen and answered.
  bool finish();
  std::wstring title, text;

 private:
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

// The character set of the font `control` draws with; -1 without a font.
int FontCharset(HWND control);

// Paints `window` of this thread, then saves the screen as build/<preset>/screenshots/<name>.bmp;
// false when the file could not be written.
bool ScreenshotOf(HWND window, const std::wstring& name);

}  // namespace testsupport
