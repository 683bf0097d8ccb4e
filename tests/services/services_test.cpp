// The service library over an in-memory manager, for what the Wine tests
// cannot stage: paging, failed listings, services gone between listing and
// query, codes no Wine service has, and a command without a selected row.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doubles/fake_services.h"
#include "doubles/fake_system.h"
#include "doubles/fake_tasks.h"
#include "services/service_commands.h"
#include "services/service_list.h"

namespace {

using dravik::Command;
using ::testing::ElementsAre;
constexpr std::uint32_t kWin32 = platform::scm::kTypeWin32;

TEST(Services, PagesFailuresCodesNoWineServiceShowsAndACommandWithoutARow) {
  fakes::FakeServiceControl scm;
  for (int i = 0; i < 7; ++i) scm.services.push_back(L"Svc" + std::to_wstring(i));
  scm.entriesPerCall = 3;
  const dravik::ServiceListing listing = dravik::ReadServiceListing(scm, kWin32);
  ASSERT_EQ(listing.services.size(), 7u);
  EXPECT_EQ(listing.services[6].name + L"|" + listing.failure, L"Svc6|");
  scm.ignoresResumeHandle = true;  // as Wine: the first page, and no endless loop
  EXPECT_EQ(dravik::ReadServiceListing(scm, kWin32).services.size(), 3u);
  scm.managerError = 5;
  EXPECT_EQ(dravik::ReadServiceListing(scm, kWin32).failure, L"API Call Failed OpenSCManager Failed");
  scm.managerError = 0;
  scm.dataCallError = 6;
  const dravik::ServiceListing failed = dravik::ReadServiceListing(scm, kWin32);
  EXPECT_EQ(failed.failure + std::to_wstring(failed.services.size()), L"API Call Failed EnumServices Failure0");

  // A service gone when queried shows its name and nothing else; no pending texts in the file: empty, not English.
  fakes::TempLanguage file("89=Service Error\r\n");
  dravik::StateTexts states(file.language());
  dravik::MessageTexts messages;
  const dravik::ListedService& gone = listing.services[0];
  EXPECT_THAT(dravik::MakeServiceRow(states, messages, gone.name, gone.config, gone.state).columns,
              ElementsAre(L"", L"Svc0", L"Unknown", L"Unknown", L"", L"Unknown", L"", L""));
  EXPECT_EQ(dravik::ServiceStateText(file.language(), 2) + dravik::ServiceStateText(file.language(), 8), L"Unknown");
  EXPECT_EQ(dravik::ServiceErrorText(scm, 1055) + L"|" + dravik::ServiceErrorText(scm, 31337),
            L"ERROR_DATABASE_LOCKED|UNKNOWN_ERROR 31337");
  std::vector<std::wstring> startTypes;
  for (auto code : {L"0", L"4", L"5", L"-1", L"", L"3x", L"99999999999999999999"}) {
    startTypes.push_back(dravik::StartTypeText(messages, code));
  }
  EXPECT_THAT(startTypes, ElementsAre(L"Boot", L"Disabled", L"Unknown", L"Unknown", L"Unknown", L"Unknown", L"Unknown"));
  EXPECT_THAT((std::vector{dravik::ServiceTypeText(L"272"), dravik::ServiceTypeText(L"48"), dravik::ServiceTypeText(L"abc")}),
              ElementsAre(L"Own Process (Interactive)", L"Unknown", L"Unknown"));
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"\\??\\C:\\x.sys") + L"|" + dravik::WithoutDevicePrefix(L"\\??"), L"C:\\x.sys|\\??");

  // No row selected: Resume goes ahead and reports the manager's error; a start type does nothing.
  fakes::FakeUserInterface ui;
  std::vector<int> waits;
  dravik::ServiceCommandContext context{scm, ui, file.language(), messages, [&](int s) { waits.push_back(s); }};
  EXPECT_TRUE(dravik::RunServiceCommand(Command::ResumeService, std::nullopt, context));
  EXPECT_TRUE(dravik::RunServiceCommand(Command::StartupDisabled, std::nullopt, context));
  EXPECT_FALSE(dravik::RunServiceCommand(Command::EndTask, L"Svc0", context));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text + L"|" + ui.boxes[0].title, L"Name: \r\nUNKNOWN_ERROR 123|Service Error");
  EXPECT_THAT(waits, ElementsAre(2));
}

}  // namespace
