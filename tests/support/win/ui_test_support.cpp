#include "support/win/ui_test_support.h"

#include <cstdio>

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace testsupport {

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

MessageBoxAnswerer::MessageBoxAnswerer(int button, std::function<void()> whileShown,
                                       std::chrono::milliseconds timeout)
    : thread_([this, button, whileShown, timeout] {
        const DWORD pid = ::GetCurrentProcessId();
        MessageBoxInfo box;
        if (!WaitFor([&] { return (box = FindMessageBox(pid)).window != nullptr; }, timeout)) return;
        title_ = box.title;
        text_ = box.text;
        if (whileShown) whileShown();
        answered_ = ::PostMessageW(box.window, WM_COMMAND, button, 0) != FALSE;
      }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() = default;

bool MessageBoxAnswerer::finish() {
  thread_.join();
  return answered_;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int FontCharset(HWND control) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW face{};
  return font && ::GetObjectW(font, sizeof(face), &face) ? face.lfCharSet : -1;
}

std::wstring SaveScreenshot(HWND window, const std::wstring& name) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  PumpFor(std::chrono::milliseconds(300));
  RECT rect{};
  if (!::GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return {};
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  // Rows bottom-up, as BMP files store them.
  BITMAPINFO info{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER), .biWidth = width, .biHeight = height,
                                .biPlanes = 1, .biBitCount = 24, .biCompression = BI_RGB}};
  const HDC screen = ::GetDC(nullptr), memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  const DWORD imageBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4 * static_cast<DWORD>(height);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const BITMAPFILEHEADER file{.bfType = 0x4D42 /* "BM" */, .bfSize = offset + imageBytes, .bfOffBits = offset};
  const std::wstring folder = TestDir() + L"\\..\\screenshots", path = folder + L"\\" + name;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  bool written = false;
  if (FILE* out = _wfopen(path.c_str(), L"wb")) {
    written = fwrite(&file, sizeof(file), 1, out) == 1 && fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
              fwrite(bits, 1, imageBytes, out) == imageBytes;
    fclose(out);
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return written ? path : std::wstring();
}

}  // namespace testsupport
