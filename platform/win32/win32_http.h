#pragma once
#include <windows.h>
#include <winhttp.h>

#include <cstdint>
#include <memory>

#include "platform/shell.h"

namespace platform::win32 {

// An asynchronous GET through WinHTTP. WinHTTP reports progress on its own
// worker threads, so the finished answer is posted to a message-only window
// of the thread that created this object and handed over from its message
// loop: the caller's handler never runs on a worker thread.
class Win32HttpGet final : public HttpGet {
 public:
  Win32HttpGet();
  ~Win32HttpGet() override;
  Win32HttpGet(const Win32HttpGet&) = delete;
  Win32HttpGet& operator=(const Win32HttpGet&) = delete;

  void start(const std::wstring& url, const HttpTimeouts& timeouts,
             std::function<void(const std::wstring& text)> received) override;
  bool busy() const override;
  void cancel() override;

  // The message that carries a finished answer to the window.
  static constexpr UINT kAnswerMessage = WM_APP + 0x51;

  struct Fetch;  // shared between this object and the WinHTTP worker threads

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void delivered(WPARAM generation);

  HWND window_ = nullptr;
  HINTERNET session_ = nullptr;
  std::shared_ptr<Fetch> current_;
  std::uint64_t generation_ = 0;
  std::function<void(const std::wstring&)> received_;
};

}  // namespace platform::win32
