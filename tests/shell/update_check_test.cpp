#include "shell/update_check.h"

#include <gtest/gtest.h>

#include "doubles/fake_http.h"
#include "doubles/fake_profile_files.h"
#include "doubles/fake_system.h"

namespace {

using dravik::IsNewerVersion;
using dravik::VersionNumber;

TEST(UpdateVersionComparison, PublishedVersionsAgainstTwoPointOne) {
  const VersionNumber running{2, 1};
  EXPECT_TRUE(IsNewerVersion(L"2.2", running));
  EXPECT_FALSE(IsNewerVersion(L"2.1", running));
  EXPECT_TRUE(IsNewerVersion(L"3.0", running));
  EXPECT_FALSE(IsNewerVersion(L"1.9", running));
  EXPECT_TRUE(IsNewerVersion(L"9.0", running));
  EXPECT_FALSE(IsNewerVersion(L"2.0", running));
}

TEST(UpdateVersionComparison, OnlyTheFirstAndLastCharactersCount) {
  const VersionNumber running{2, 1};
  // The line break is the last character: a minor of 0.
  EXPECT_FALSE(IsNewerVersion(L"2.2\n", running));
  EXPECT_FALSE(IsNewerVersion(L"2.2\r\n", running));
  // An error page starts with '<' and ends with '>' or a line break.
  EXPECT_FALSE(IsNewerVersion(L"<html><body>404 Not Found</body></html>\n", running));
  EXPECT_FALSE(IsNewerVersion(L"", running));
  // Whatever lies between the two ends is not read.
  EXPECT_TRUE(IsNewerVersion(L"2 and then some text 5", running));
  EXPECT_EQ(dravik::PublishedVersion(L"3.7").major, 3);
  EXPECT_EQ(dravik::PublishedVersion(L"3.7").minor, 7);
  EXPECT_EQ(dravik::PublishedVersion(L"x.7").major, 0);
}

TEST(UpdateVersionComparison, TheBuildsOwnVersionIsTwoPointOne) {
  EXPECT_EQ(dravik::kRunningVersion.major, 2);
  EXPECT_EQ(dravik::kRunningVersion.minor, 1);
  EXPECT_TRUE(IsNewerVersion(L"2.2"));
  EXPECT_FALSE(IsNewerVersion(L"2.1"));
}

TEST(UpdateVersionComparison, PromptShowsTheServersTextExactly) {
  dravik::MessageTexts messages;
  EXPECT_EQ(dravik::NewVersionPrompt(messages, L"2.2"),
            L"New version available!\r\nVersion: 2.2\r\n\r\n"
            L"Would you like to download it from our website?");
  messages.set(dravik::MessageText::Version, L"Versión:");
  messages.set(dravik::MessageText::NewVersion, L"N");
  messages.set(dravik::MessageText::WDownload, L"W");
  EXPECT_EQ(dravik::NewVersionPrompt(messages, L" 3.0 "), L"N\r\nVersión:  3.0 \r\n\r\nW");
}

// The check over doubles of the web client, the message boxes and the shell.
class UpdateCheckTest : public ::testing::Test {
 protected:
  fakes::FakeHttpGet http_;
  fakes::FakeUserInterface ui_;
  fakes::FakeShell shell_;
  fakes::FakeProfileFiles profiles_;
  dravik::Language language_{
      profiles_, fakes::WidePath(DRAVIK_SOURCE_DIR "/localization/languages/German.lng")};
  dravik::MessageTexts messages_;
  dravik::UpdateCheck check_{http_,
                             ui_,
                             shell_,
                             language_,
                             messages_,
                             L"C:\\Program Files\\Dravik",
                             L"http://127.0.0.1:8080"};
};

TEST_F(UpdateCheckTest, AsksTheUpdateFileWithOneSecondTimeoutsAndDoesNotWait) {
  check_.start();
  ASSERT_EQ(http_.urls.size(), 1u);
  EXPECT_EQ(http_.urls[0], L"http://127.0.0.1:8080/draviktm_free.txt");
  EXPECT_EQ(http_.lastTimeouts.resolve, 1000);
  EXPECT_EQ(http_.lastTimeouts.connect, 1000);
  EXPECT_EQ(http_.lastTimeouts.send, 1000);
  EXPECT_EQ(http_.lastTimeouts.receive, 1000);
  EXPECT_TRUE(http_.busy());
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(UpdateCheckTest, NewerVersionAsksAndYesOpensTheWebSite) {
  check_.start();
  ui_.answers = {platform::mb::kAnswerYes};
  http_.answer(L"2.2");
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].title, L"Dravik Task Manager");
  EXPECT_EQ(ui_.boxes[0].flags, 0x24u);  // question icon, Yes and No
  EXPECT_EQ(ui_.boxes[0].text, dravik::NewVersionPrompt(messages_, L"2.2"));
  ASSERT_EQ(shell_.calls.size(), 1u);
  EXPECT_EQ(shell_.calls[0].verb, L"Open");
  EXPECT_EQ(shell_.calls[0].file, L"http://127.0.0.1:8080");
  EXPECT_EQ(shell_.calls[0].folder, L"C:\\Program Files\\Dravik");
  EXPECT_EQ(shell_.calls[0].show, 1);
}

TEST_F(UpdateCheckTest, NoOpensNothingAndNoNewerVersionSaysSoFromTheLanguageFile) {
  check_.start();
  ui_.answers = {platform::mb::kAnswerNo};
  http_.answer(L"3.0");
  EXPECT_TRUE(shell_.calls.empty());

  check_.start();
  http_.answer(L"2.2\n");
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].flags, 0x40u);  // information icon, OK
  EXPECT_EQ(ui_.boxes[1].title, L"Dravik Task Manager");
  EXPECT_EQ(ui_.boxes[1].text, language_.main("113"));
  EXPECT_FALSE(ui_.boxes[1].text.empty());
  EXPECT_TRUE(shell_.calls.empty());
}

TEST_F(UpdateCheckTest, ASecondCheckReplacesTheFirst) {
  check_.start();
  check_.start();
  EXPECT_EQ(http_.urls.size(), 2u);
  EXPECT_EQ(http_.replaced, 1);
  http_.answer(L"2.1");
  EXPECT_EQ(ui_.boxes.size(), 1u);  // one answer, one message
}

}  // namespace
