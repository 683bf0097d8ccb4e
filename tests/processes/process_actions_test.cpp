// The process actions over doubles of the process calls, the shell and the
// message boxes (the properties sheet does not exist under Wine).
#include "processes/process_actions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "doubles/fake_processes.h"
#include "doubles/fake_system.h"

namespace {

using dravik::SelectedProcess;

class ProcessActionsTest : public ::testing::Test {
 protected:
  ProcessActionsTest() {
    context_.refreshList = [this] { ui_.events.push_back(L"refresh"); };
    processes_.running = {1234};
  }
  dravik::MessageTexts messages_;  // the English texts
  fakes::FakeUserInterface ui_;
  fakes::FakeProcessControl processes_;
  fakes::FakeShellFiles shell_;
  dravik::ProcessActionContext context_{messages_, ui_, processes_, shell_, {}};
  SelectedProcess notepad_{L"notepad.exe", L"1234", L"C:\\windows\\notepad.exe"};
};

TEST_F(ProcessActionsTest, TerminateAsksInTheCurrentLanguageAndOnlyYesEnds) {
  ui_.answers = {platform::mb::kAnswerNo, platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(notepad_, context_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Are you sure you want to terminate this process?");
  EXPECT_EQ(ui_.boxes[0].title, L"Process: notepad.exe (PID: 1234)");
  EXPECT_EQ(ui_.boxes[0].flags, 52u);
  EXPECT_TRUE(processes_.kills.empty());
  messages_.set(dravik::MessageText::Process, L"Prozess");
  messages_.set(dravik::MessageText::PID, L"Kennung");
  dravik::TerminateSelectedProcess(notepad_, context_);
  EXPECT_EQ(ui_.boxes.at(1).title, L"Prozess: notepad.exe (Kennung: 1234)");
  EXPECT_EQ(processes_.kills, (std::vector<std::uint32_t>{1234}));
  EXPECT_EQ(ui_.events, (std::vector<std::wstring>{L"box", L"box", L"refresh", L"pump"}));
}

TEST_F(ProcessActionsTest, AFailedOrImpossibleTerminationIsSilentAndStillRefreshes) {
  ui_.answers = {platform::mb::kAnswerYes, platform::mb::kAnswerYes, platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(SelectedProcess{L"System", L"4", L""}, context_);
  for (const wchar_t* id : {L"12ab", L"4294967300"}) {  // no pid, or one past 32 bits
    dravik::TerminateSelectedProcess(SelectedProcess{L"odd", id, L""}, context_);
  }
  EXPECT_EQ(processes_.kills, (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(std::count(ui_.events.begin(), ui_.events.end(), L"refresh"), 3);
  EXPECT_FALSE(dravik::KillProcessByIdNT(processes_, 4));
  EXPECT_TRUE(dravik::KillProcessByIdNT(processes_, 1234));
}

TEST_F(ProcessActionsTest, FilePropertiesOpensTheSheetOrSaysThePathIsMissing) {
  dravik::TerminateSelectedProcess(std::nullopt, context_);
  dravik::ShowSelectedFileProperties(std::nullopt, context_);
  EXPECT_TRUE(ui_.events.empty() && shell_.propertiesShown.empty());
  dravik::ShowSelectedFileProperties(SelectedProcess{L"System", L"4", L""}, context_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Process path not found!");
  EXPECT_EQ(ui_.boxes[0].title, L"Process: System");
  EXPECT_EQ(ui_.boxes[0].flags, 16u);
  dravik::ShowSelectedFileProperties(notepad_, context_);
  EXPECT_EQ(shell_.propertiesShown, (std::vector<std::wstring>{L"C:\\windows\\notepad.exe"}));
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

}  // namespace
