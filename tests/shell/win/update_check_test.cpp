// The update check under Wine: the real WinHTTP client against a tiny web
// server that the test runs on 127.0.0.1. The message boxes and the shell are
// doubles, so that the test reads the boxes without a modal loop and starts
// no browser.
#include "shell/update_check.h"

#include <gtest/gtest.h>

#include <optional>

#include "doubles/fake_system.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/loopback_server.h"
#include "support/win/ui_test_support.h"

namespace {

using namespace std::chrono_literals;
using Body = testsupport::LoopbackServer::Body;
using testsupport::LoopbackServer;

// Only the first and the last character of the published text count against
// the running 2.1: "2.2\n" ends in a line break, a minor of 0.
TEST(UpdateCheckWine, AnswersComeThroughTheMessageLoopAndOnlyANewerVersionIsOffered) {
  platform::win32::Win32HttpGet http;
  fakes::FakeUserInterface ui;
  fakes::FakeShell shell;
  platform::win32::Win32ProfileFiles profiles;
  const dravik::Language french(profiles, dravik::LanguageFilePath(testsupport::ProgramDir(), L"French"));
  const dravik::MessageTexts messages;
  const auto check = [&](const std::wstring& site, int starts) {
    ui.boxes.clear();
    dravik::UpdateCheck check(http, ui, shell, french, messages, L"C:\\Dravik", site);
    for (int i = 0; i < starts; ++i) check.start();  // a second start replaces the first
    ::Sleep(300);  // the answer waits for this thread's message loop, which is not running
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !http.busy(); }, 10s));
    testsupport::PumpFor(1s);  // a late or second answer would show up here
  };
  const wchar_t* latest = L"Vous utilisez déjà la dernière version.";  // French.lng's
  const struct { Body body; int starts; std::wstring text; unsigned flags; } rows[] = {
      {"2.2", 2, L"New version available!\r\nVersion: 2.2\r\n\r\nWould you like to download it from our website?",
       0x24},  // question icon, Yes and No
      {"2.1", 1, latest, 0x40}, {"2.2\n", 1, latest, 0x40}, {"1.9", 1, latest, 0x40},  // information, OK
      {Body(), 1, L"", 0}, {Body(""), 1, L"", 0}};  // no answer, an empty one: silent
  for (const auto& row : rows) {
    LoopbackServer server(row.body);
    ui.answers = {platform::mb::kAnswerYes};
    check(server.site, row.starts);
    ASSERT_EQ(ui.boxes.size(), row.text.empty() ? 0u : 1u) << row.body.value_or("(none)");
    if (row.text.empty()) continue;
    EXPECT_EQ(ui.boxes[0].text, row.text);
    EXPECT_EQ(ui.boxes[0].title, L"Dravik Task Manager");
    EXPECT_EQ(ui.boxes[0].flags, row.flags);
  }
  check(LoopbackServer(std::nullopt).site, 1);  // nobody listens on its port any more
  EXPECT_TRUE(ui.boxes.empty());
  ASSERT_EQ(shell.calls.size(), 1u);  // Yes to the newer version opens the site, in the program folder
  const auto& call = shell.calls[0];
  EXPECT_EQ(call.verb + L"|" + call.file.substr(0, 17) + L"|" + call.folder, L"Open|http://127.0.0.1:|C:\\Dravik");
  EXPECT_EQ(call.show, 1);
}

}  // namespace
