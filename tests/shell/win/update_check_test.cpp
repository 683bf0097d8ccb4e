// The update check under Wine: the real WinHTTP client against a tiny web
// server that the test runs on 127.0.0.1. The message boxes and the shell are
// doubles, so that the test sees on which thread the answer arrives and
// starts no browser.
#include "shell/update_check.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "doubles/fake_system.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/test_support.h"
#include "support/win/ui_test_support.h"

namespace {

using namespace std::chrono_literals;

// A web server on a free loopback port. It serves at most `maxRequests`
// connections, each with the same answer, and stops within a second of its
// owner going away.
class LoopbackServer {
 public:
  enum class Mode { Answer, HangUp };

  LoopbackServer(Mode mode, std::string body, int maxRequests = 4)
      : mode_(mode), body_(std::move(body)), maxRequests_(maxRequests) {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(listener_, 4);
    int length = sizeof(address);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::closesocket(listener_);
    ::WSACleanup();
  }
  std::wstring site() const { return L"http://127.0.0.1:" + std::to_wstring(port_); }
  std::vector<std::string> requestLines() {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void serve() {
    for (int served = 0; served < maxRequests_ && !stop_;) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(listener_, &readable);
      timeval wait{0, 100000};
      if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
      const SOCKET client = ::accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      ++served;
      std::string request;
      char buffer[1024];
      DWORD timeout = 2000;
      ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof(timeout));
      while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0) break;
        request.append(buffer, got);
      }
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(request.substr(0, request.find("\r\n")));
      }
      if (mode_ == Mode::Answer) {
        const std::string reply =
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
            std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_;
        ::send(client, reply.data(), static_cast<int>(reply.size()), 0);
      }
      ::shutdown(client, SD_BOTH);
      ::closesocket(client);
    }
  }

  Mode mode_;
  std::string body_;
  int maxRequests_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> requests_;
};

// Records the message boxes and the thread that shows them.
class RecordingUi final : public platform::UserInterface {
 public:
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override {
    boxes.push_back({text, title, flags});
    threads.push_back(::GetCurrentThreadId());
    return answer;
  }
  void pumpMessages() override {}
  std::vector<fakes::FakeUserInterface::Box> boxes;
  std::vector<DWORD> threads;
  int answer = platform::mb::kAnswerNo;
};

class UpdateCheckWineTest : public ::testing::Test {
 protected:
  dravik::UpdateCheck checkAgainst(const std::wstring& site) {
    return dravik::UpdateCheck(http_, ui_, shell_, language_, messages_, testsupport::ProgramDir(),
                               site);
  }
  bool waitForBox(std::size_t count) {
    return testsupport::PumpUntil([&] { return ui_.boxes.size() >= count; }, 10s);
  }

  platform::win32::Win32HttpGet http_;
  RecordingUi ui_;
  fakes::FakeShell shell_;
  platform::win32::Win32ProfileFiles profiles_;
  dravik::Language language_{profiles_,
                             dravik::LanguageFilePath(testsupport::ProgramDir(), L"French")};
  dravik::MessageTexts messages_;
};

TEST_F(UpdateCheckWineTest, APublishedNewerVersionIsOfferedOnTheUserInterfaceThread) {
  LoopbackServer server(LoopbackServer::Mode::Answer, "2.2");
  auto check = checkAgainst(server.site());
  ui_.answer = platform::mb::kAnswerYes;
  check.start();
  EXPECT_TRUE(ui_.boxes.empty());  // the command does not wait for the answer
  ASSERT_TRUE(waitForBox(1));
  EXPECT_EQ(ui_.boxes[0].text, dravik::NewVersionPrompt(messages_, L"2.2"));
  EXPECT_EQ(ui_.boxes[0].title, L"Dravik Task Manager");
  EXPECT_EQ(ui_.threads[0], ::GetCurrentThreadId());
  ASSERT_EQ(server.requestLines().size(), 1u);
  EXPECT_EQ(server.requestLines()[0], "GET /draviktm_free.txt HTTP/1.1");
  ASSERT_EQ(shell_.calls.size(), 1u);
  EXPECT_EQ(shell_.calls[0].file, server.site());
  EXPECT_FALSE(http_.busy());
}

TEST_F(UpdateCheckWineTest, TheSameVersionOrATrailingLineBreakReportsNoNewerVersion) {
  for (const char* published : {"2.1", "2.2\n"}) {
    SCOPED_TRACE(published);
    ui_.boxes.clear();
    LoopbackServer server(LoopbackServer::Mode::Answer, published);
    auto check = checkAgainst(server.site());
    check.start();
    ASSERT_TRUE(waitForBox(1));
    EXPECT_EQ(ui_.boxes[0].text, language_.main("113"));
    EXPECT_EQ(ui_.boxes[0].flags, 0x40u);
  }
  EXPECT_TRUE(shell_.calls.empty());
}

TEST_F(UpdateCheckWineTest, AServerThatSaysNothingOrIsNotThereLeavesTheCheckSilent) {
  {
    LoopbackServer server(LoopbackServer::Mode::HangUp, "");
    auto check = checkAgainst(server.site());
    check.start();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !http_.busy(); }, 10s));
    testsupport::PumpFor(300ms);
    EXPECT_EQ(server.requestLines().size(), 1u);
  }
  {
    LoopbackServer server(LoopbackServer::Mode::Answer, "");  // 200 with no bytes at all
    auto check = checkAgainst(server.site());
    check.start();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !http_.busy(); }, 10s));
    testsupport::PumpFor(300ms);
  }
  {
    // A port nobody listens on: the listener is gone before the request.
    std::wstring site;
    {
      LoopbackServer gone(LoopbackServer::Mode::HangUp, "", 0);
      site = gone.site();
    }
    auto check = checkAgainst(site);
    check.start();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !http_.busy(); }, 10s));
    testsupport::PumpFor(300ms);
  }
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(UpdateCheckWineTest, ASecondCheckWhileOneRunsReplacesIt) {
  LoopbackServer server(LoopbackServer::Mode::Answer, "3.0");
  auto check = checkAgainst(server.site());
  check.start();
  check.start();
  ASSERT_TRUE(waitForBox(1));
  testsupport::PumpFor(1500ms);  // a late answer of the first request would show up here
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

}  // namespace
