#pragma once
// Helpers for tests of the program's own windows, which live on the test's
// thread: waiting while handling their messages, a control's character set,
// and a picture.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "support/win/test_support.h"

namespace testsupport {

// Handles this thread's window messages until `condition` holds or `timeout`
// passes; true when it held.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Handles this thread's window messages for `duration`.
void PumpFor(std::chrono::milliseconds duration);

// The character set of the font `control` draws with; -1 without a font.
int FontCharset(HWND control);

// Paints `window` of this thread, then saves the screen as build/<preset>/screenshots/<name>.bmp;
// false when the file could not be written.
bool ScreenshotOf(HWND window, const std::wstring& name);

}  // namespace testsupport
