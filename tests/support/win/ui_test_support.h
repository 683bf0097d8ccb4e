#pragma once
// Helpers for tests of the program's own windows, which live on the test's
// thread: waiting while handling their messages, answering a modal message
// box from another thread, measuring their texts.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "support/win/test_support.h"

namespace testsupport {

// Handles this thread's window messages until `condition` holds or `timeout`
// passes; true when it held.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Handles this thread's window messages for `duration`.
void PumpFor(std::chrono::milliseconds duration);

// Waits on a thread of its own for a message box of this process, notes what
// it shows and presses `button` (IDOK, IDYES...). Needed because the box
// runs its own modal loop on the test's thread.
class MessageBoxAnswerer {
 public:
  // `whileShown` runs on the answering thread once the box is seen, before it is answered.
  explicit MessageBoxAnswerer(int button, std::function<void()> whileShown = nullptr,
                              std::chrono::milliseconds timeout = std::chrono::seconds(10));
  ~MessageBoxAnswerer() = default;
  // Waits for the thread; true when a box was seen and answered.
  bool finish();
  std::wstring title() const { return box_.title; }
  std::wstring text() const { return box_.text; }
  const MessageBoxInfo& box() const { return box_; }

 private:
  std::atomic<bool> answered_{false};
  MessageBoxInfo box_;
  Thread thread_;  // last: it uses the members above until joined
};

// Where `child` lies in its parent's client area.
RECT RectInParent(HWND child);

// The character set of the font `control` draws with; -1 without a font.
int FontCharset(HWND control);

// Expects every visible static text and push button of `window` that holds a
// text to fit its control, and at least `least` of them measured: the extent
// DrawText (DT_CALCRECT) finds in the control's own font, wrapped as the
// control wraps, against the control's client rectangle (less a push button's
// 3D border, and less what the parent's client area cuts off). `what` names
// the case in a failure.
void ExpectTextsFit(HWND window, int least, const std::wstring& what);

// The screen's pixels per inch as this process sees them.
int ScreenDpi();
// The resolution the run was started at (DRAVIK_EXPECT_DPI), 0 when not given.
int ExpectedDpi();
// Fails the test when the run was started at a resolution the screen lacks.
void ExpectTheRunsDpi();

}  // namespace testsupport
