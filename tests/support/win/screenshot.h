#pragma once
// Saving what the screen shows, for a person to look at after a test run.
#include <string>

namespace testsupport {

// The whole screen as a 24-bit BMP file under the build folder's
// "screenshots" folder; the folder is created when needed. The full path, or
// "" when the picture could not be written.
std::wstring SaveScreenshot(const std::wstring& name);

}  // namespace testsupport
