// The Services tab's commands from question to rebuild, and the wait between,
// over the in-memory manager and a user-interface double that answers the
// questions and records the boxes.
#include "services/service_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doubles/fake_services.h"
#include "doubles/fake_system.h"
#include "services/service_test_language.h"

namespace {

using dravik::Command;
using ::testing::ElementsAre;
namespace scm = platform::scm;

class ServiceCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scm_.add(L"Spooler").state = scm::kRunning;
    scm_.messages[1062] = L"Service not active.\r\n";
    scm_.messages[123] = L"Invalid name.\r\n";
  }
  bool run(Command command, std::optional<std::wstring> name = L"Spooler") {
    return dravik::RunServiceCommand(command, name, context_);
  }

  fakes::FakeServiceControl scm_;
  fakes::FakeUserInterface ui_;
  servicetests::LanguageFile file_;
  dravik::MessageTexts messages_;
  std::vector<std::string> steps_;
  dravik::ServiceCommandContext context_{
      scm_, ui_, file_.language(), messages_,
      [this](int seconds) { steps_.push_back("pause " + std::to_string(seconds)); },
      [this] { steps_.push_back("rebuild"); }};
};

TEST_F(ServiceCommandTest, StopAsksWithTheNameAndGoesAheadOnYes) {
  ui_.answers = {platform::mb::kAnswerYes};
  EXPECT_TRUE(run(Command::StopService));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text,
            L"Stopping services might cause some programs to malfunction or result in system "
            L"instability!\r\n\r\nName: Spooler\r\nDo you want to stop this service?");
  EXPECT_EQ(ui_.boxes[0].title, L"Warning!");
  EXPECT_EQ(ui_.boxes[0].flags, 52u);
  EXPECT_EQ(scm_.find(L"Spooler")->state, scm::kStopped);
  EXPECT_THAT(steps_, ElementsAre("pause 2", "rebuild"));
}

TEST_F(ServiceCommandTest, AnyAnswerButYesEndsTheCommandWithoutWaitOrRebuild) {
  for (int answer : {platform::mb::kAnswerNo, platform::mb::kAnswerOk, 2 /* cancel */}) {
    for (Command command : {Command::StopService, Command::PauseService, Command::DeleteService}) {
      ui_.answers = {answer};
      scm_.calls.clear();
      EXPECT_TRUE(run(command));
      EXPECT_TRUE(scm_.calls.empty());
    }
  }
  EXPECT_TRUE(steps_.empty());
  EXPECT_EQ(scm_.find(L"Spooler")->state, scm::kRunning);
}

TEST_F(ServiceCommandTest, PauseAndDeleteAskTheirOwnQuestions) {
  ui_.answers = {platform::mb::kAnswerYes, platform::mb::kAnswerYes};
  run(Command::PauseService);
  run(Command::DeleteService);
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[0].text,
            L"Pausing services might cause some programs to malfunction or result in system "
            L"instability!\r\n\r\nName: Spooler\r\nDo you want to pause this service?");
  EXPECT_EQ(ui_.boxes[1].text,
            L"Deleting services might cause some programs to malfunction or result in system "
            L"instability!\r\n\r\nName: Spooler\r\nDo you want to DELETE this service?");
  EXPECT_TRUE(scm_.find(L"Spooler") == nullptr || scm_.find(L"Spooler")->markedForDelete);
  EXPECT_THAT(steps_, ElementsAre("pause 2", "rebuild", "pause 2", "rebuild"));
}

TEST_F(ServiceCommandTest, StartAndResumeAskNothing) {
  scm_.find(L"Spooler")->state = scm::kPaused;
  run(Command::ResumeService);
  EXPECT_EQ(scm_.find(L"Spooler")->state, scm::kRunning);
  scm_.find(L"Spooler")->state = scm::kStopped;
  run(Command::StartService);
  EXPECT_EQ(scm_.find(L"Spooler")->state, scm::kRunning);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_THAT(steps_, ElementsAre("pause 2", "rebuild", "pause 2", "rebuild"));
}

TEST_F(ServiceCommandTest, AFailureIsShownWithTheSystemsTextAndTheListIsStillRebuilt) {
  scm_.find(L"Spooler")->state = scm::kStopped;
  ui_.answers = {platform::mb::kAnswerYes};
  run(Command::StopService);
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].text, L"Name: Spooler\r\nService not active.\r\n");
  EXPECT_EQ(ui_.boxes[1].title, L"Service Error");  // key 89 of the language file
  EXPECT_EQ(ui_.boxes[1].flags, 16u);
  EXPECT_THAT(steps_, ElementsAre("pause 2", "rebuild"));
}

TEST_F(ServiceCommandTest, WithoutASelectedRowTheFiveCommandsUseAnEmptyName) {
  EXPECT_TRUE(run(Command::StartService, std::nullopt));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Name: \r\nInvalid name.\r\n");
  EXPECT_THAT(steps_, ElementsAre("pause 2", "rebuild"));
}

TEST_F(ServiceCommandTest, StartTypesChangeOnlyTheStartTypeAndWaitOneSecond) {
  const std::pair<Command, int> table[] = {
      {Command::StartupBoot, 0},   {Command::StartupSystem, 1}, {Command::StartupAutomatic, 2},
      {Command::StartupManual, 3}, {Command::StartupDisabled, 4},
  };
  for (const auto& [command, startType] : table) {
    scm_.calls.clear();
    steps_.clear();
    EXPECT_TRUE(run(command));
    EXPECT_EQ(scm_.calls[1], "open Spooler 2");
    EXPECT_EQ(scm_.calls[2], "change Spooler 4294967295 " + std::to_string(startType) + " 4294967295 notag");
    EXPECT_EQ(scm_.find(L"Spooler")->config.startType, static_cast<std::uint32_t>(startType));
    EXPECT_THAT(steps_, ElementsAre("pause 1", "rebuild"));
  }
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(ServiceCommandTest, StartTypesDoNothingWithoutASelectedRow) {
  EXPECT_TRUE(run(Command::StartupDisabled, std::nullopt));
  EXPECT_TRUE(scm_.calls.empty());
  EXPECT_TRUE(steps_.empty());
}

TEST_F(ServiceCommandTest, OtherCommandsAreNotTheServiceTabs) {
  EXPECT_FALSE(run(Command::EndTask));
  EXPECT_FALSE(run(Command::ViewWinServices));  // the page toggles its filter itself
  EXPECT_TRUE(scm_.calls.empty());
}

// --- The wait -------------------------------------------------------------

struct FakeClock {
  double now;
  double step;
  std::vector<int> idles;
  dravik::PauseClock clock() {
    return {[this] {
              const double t = now;
              now += step;
              return t;
            },
            [this](int ms) { idles.push_back(ms); }};
  }
};

TEST(Pause, PumpsUntilTheSecondsHavePassed) {
  fakes::FakeUserInterface ui;
  FakeClock clock{1000.0, 0.25, {}};
  dravik::Pause(ui, clock.clock(), 2);
  // Start read 1000; readings 1000.25 ... 1001.75 go on, 1002 stops.
  EXPECT_EQ(ui.pumps, 7);
  EXPECT_EQ(clock.idles.size(), 7u);
  EXPECT_EQ(clock.idles.front(), 50);
}

TEST(Pause, EndsWhenMidnightPasses) {
  fakes::FakeUserInterface ui;
  FakeClock clock{86399.5, 0.25, {}};
  auto hooks = clock.clock();
  auto reading = hooks.secondsOfDay;
  hooks.secondsOfDay = [&] {
    double t = reading();
    return t >= 86400.0 ? t - 86400.0 : t;
  };
  dravik::Pause(ui, hooks, 2);
  EXPECT_EQ(ui.pumps, 1);  // start 86399.5; 86399.75 goes on, then 0.0 is below the start
}

TEST(Pause, ZeroSecondsDoesNotPump) {
  fakes::FakeUserInterface ui;
  FakeClock clock{10.0, 0.1, {}};
  dravik::Pause(ui, clock.clock(), 0);
  EXPECT_EQ(ui.pumps, 0);
}

}  // namespace
