#include "processes/process_actions.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "doubles/fake_system.h"

namespace {

using dravik::MessageText;
using dravik::SelectedProcess;

class ProcessActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_.refreshList = [this] {
      ++refreshes_;
      ui_.events.push_back(L"refresh");
    };
  }

  dravik::MessageTexts messages_;  // the English texts
  fakes::FakeUserInterface ui_;
  fakes::FakeProcessCommands processes_;
  fakes::FakeShellFiles shell_;
  int refreshes_ = 0;
  dravik::ProcessActionContext context_{messages_, ui_, processes_, shell_, {}};
  SelectedProcess notepad_{L"notepad.exe", L"1234", L"C:\\windows\\notepad.exe"};
};

TEST_F(ProcessActionsTest, TerminateAsksWithTheTitleBuiltFromTheRowInTheCurrentLanguage) {
  ui_.answers = {platform::mb::kAnswerNo, platform::mb::kAnswerNo};
  dravik::TerminateSelectedProcess(notepad_, context_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Are you sure you want to terminate this process?");
  EXPECT_EQ(ui_.boxes[0].title, L"Process: notepad.exe (PID: 1234)");
  EXPECT_EQ(ui_.boxes[0].flags, 52u);
  messages_.set(MessageText::Process, L"Prozess");
  messages_.set(MessageText::PID, L"Kennung");
  dravik::TerminateSelectedProcess(notepad_, context_);
  EXPECT_EQ(ui_.boxes[1].title, L"Prozess: notepad.exe (Kennung: 1234)");
}

TEST_F(ProcessActionsTest, YesEndsTheProcessThenRefreshesThenPumps) {
  ui_.answers = {platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(notepad_, context_);
  EXPECT_EQ(processes_.terminated, (std::vector<std::uint32_t>{1234}));
  EXPECT_EQ(ui_.events, (std::vector<std::wstring>{L"box", L"refresh", L"pump"}));
}

TEST_F(ProcessActionsTest, NoLeavesTheProcessAndTheListAlone) {
  ui_.answers = {platform::mb::kAnswerNo};
  dravik::TerminateSelectedProcess(notepad_, context_);
  EXPECT_TRUE(processes_.terminated.empty());
  EXPECT_EQ(refreshes_, 0);
}

TEST_F(ProcessActionsTest, AFailedTerminationIsSilentAndTheListShowsTheOutcome) {
  processes_.terminateResult = false;  // a protected process
  ui_.answers = {platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(SelectedProcess{L"System", L"4", L""}, context_);
  EXPECT_EQ(processes_.terminated, (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(refreshes_, 1);
}

TEST_F(ProcessActionsTest, AnIdThatIsNoNumberEndsNothingButStillRefreshes) {
  ui_.answers = {platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(SelectedProcess{L"odd", L"12ab", L""}, context_);
  EXPECT_TRUE(processes_.terminated.empty());
  EXPECT_EQ(refreshes_, 1);
}

TEST_F(ProcessActionsTest, WithoutASelectionTheCommandsDoNothing) {
  dravik::TerminateSelectedProcess(std::nullopt, context_);
  dravik::ShowSelectedFileProperties(std::nullopt, context_);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_TRUE(processes_.terminated.empty());
  EXPECT_TRUE(shell_.propertiesShown.empty());
  EXPECT_EQ(refreshes_, 0);
}

TEST_F(ProcessActionsTest, FilePropertiesOfAPathlessRowShowsThePathNotFoundStop) {
  dravik::ShowSelectedFileProperties(SelectedProcess{L"System", L"4", L""}, context_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Process path not found!");
  EXPECT_EQ(ui_.boxes[0].title, L"Process: System");
  EXPECT_EQ(ui_.boxes[0].flags, 16u);
  EXPECT_TRUE(shell_.propertiesShown.empty());
}

TEST_F(ProcessActionsTest, FilePropertiesOpensTheSheetOfThePath) {
  // A double: the properties sheet does not exist under Wine.
  dravik::ShowSelectedFileProperties(notepad_, context_);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(shell_.propertiesShown, (std::vector<std::wstring>{L"C:\\windows\\notepad.exe"}));
  shell_.propertiesResult = false;  // a refusal is not reported
  dravik::ShowFileProperties(shell_, L"D:\\x.exe");
  EXPECT_EQ(shell_.propertiesShown.back(), L"D:\\x.exe");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST(KillProcessByIdNT, ReportsWhetherTheSystemEndedIt) {
  fakes::FakeProcessCommands processes;
  EXPECT_TRUE(dravik::KillProcessByIdNT(processes, 77));
  processes.terminateResult = false;
  EXPECT_FALSE(dravik::KillProcessByIdNT(processes, 78));
  EXPECT_EQ(processes.terminated, (std::vector<std::uint32_t>{77, 78}));
}

TEST(SetProcessPriority, IdZeroMeansTheWindowsOwner) {
  fakes::FakeProcessCommands processes;
  processes.windowOwners[0x1234] = 900;
  processes.priorityResult = 32;
  EXPECT_EQ(dravik::SetProcessPriority(processes, 0, 0x1234, 32), 32u);
  EXPECT_EQ(dravik::SetProcessPriority(processes, 55, 0x1234, 128), 32u);
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{900, 32}, {55, 128}};
  EXPECT_EQ(processes.priorityCalls, expected);
}

TEST(SetProcessPriority, AWindowThatIsGoneChangesNothing) {
  fakes::FakeProcessCommands processes;
  processes.priorityResult = 32;
  EXPECT_EQ(dravik::SetProcessPriority(processes, 0, 0x999, 64), 0u);
  EXPECT_TRUE(processes.priorityCalls.empty());
}

}  // namespace
