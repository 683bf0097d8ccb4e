#pragma once
// A web client double: records what was fetched and lets the test deliver the
// answer, as the real client would from the message loop.
#include <string>
#include <vector>

#include "platform/shell.h"

namespace fakes {

class FakeHttpGet final : public platform::HttpGet {
 public:
  void start(const std::wstring& url, const platform::HttpTimeouts& timeouts,
             std::function<void(const std::wstring&)> received) override {
    urls.push_back(url);
    lastTimeouts = timeouts;
    if (received_) ++replaced;
    received_ = std::move(received);
  }
  bool busy() const override { return static_cast<bool>(received_); }
  void cancel() override { received_ = nullptr; }

  // The server's answer arrives: the request is finished before its handler runs.
  void answer(const std::wstring& text) {
    auto handler = std::move(received_);
    received_ = nullptr;
    if (handler) handler(text);
  }

  std::vector<std::wstring> urls;
  platform::HttpTimeouts lastTimeouts;
  int replaced = 0;

 private:
  std::function<void(const std::wstring&)> received_;
};

}  // namespace fakes
