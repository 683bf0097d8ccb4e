// The service library over an in-memory manager: the manager is a double so
// that paging, buffer sizes and failures Wine never produces can be staged.
#include "services/nt_service_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doubles/fake_services.h"
#include "doubles/fake_system.h"
#include "services/service_test_language.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
namespace scm = platform::scm;

struct Listed {
  std::wstring name;
  dravik::ServiceConfig config;
  std::uint32_t state;
};

class NTServiceControlTest : public ::testing::Test {
 protected:
  std::vector<Listed> list(std::uint32_t typeFilter, std::uint32_t stateFilter = scm::kStateAll) {
    std::vector<Listed> rows;
    dravik::EnumNTServices(scm_, ui_, typeFilter, stateFilter,
                           [&](const std::wstring& name, const dravik::ServiceConfig& config,
                               std::uint32_t state) { rows.push_back({name, config, state}); });
    return rows;
  }
  static std::vector<std::wstring> Names(const std::vector<Listed>& rows) {
    std::vector<std::wstring> names;
    for (const Listed& row : rows) names.push_back(row.name);
    return names;
  }

  fakes::FakeServiceControl scm_;
  fakes::FakeUserInterface ui_;
};

// --- Configuration query -------------------------------------------------

TEST(ConfigBufferBytes, WholeBlocksOf36AlwaysLargerThanNeeded) {
  // needed / 36 + 1, rounded half to even: 18 -> 1.5 -> 2, 54 -> 2.5 -> 2, 90 -> 3.5 -> 4.
  EXPECT_EQ(dravik::ConfigBufferBytes(0), 36u);
  EXPECT_EQ(dravik::ConfigBufferBytes(17), 36u);
  EXPECT_EQ(dravik::ConfigBufferBytes(18), 72u);
  EXPECT_EQ(dravik::ConfigBufferBytes(36), 72u);
  EXPECT_EQ(dravik::ConfigBufferBytes(54), 72u);
  EXPECT_EQ(dravik::ConfigBufferBytes(90), 144u);
  for (std::uint32_t needed = 0; needed < 5000; ++needed) {
    const std::uint32_t bytes = dravik::ConfigBufferBytes(needed);
    ASSERT_EQ(bytes % 36, 0u) << needed;
    ASSERT_GT(bytes, needed) << needed;
    ASSERT_LE(bytes, needed + 36 + 18) << needed;
  }
}

TEST_F(NTServiceControlTest, ConfigAsksTheSizeThenReadsIntoWholeBlocksAndFillsEveryField) {
  auto& entry = scm_.add(L"Spooler", 0x110, 2);
  entry.config.errorControl = 1;
  entry.config.tagId = 7;
  entry.config.loadOrderGroup = L"SpoolerGroup";
  entry.config.dependencies = std::wstring(L"RPCSS\0http\0", 11);
  entry.config.serviceStartName = L"LocalSystem";
  entry.config.displayName = L"Print Spooler";
  entry.config.imagePath = L"C:\\windows\\system32\\spoolsv.exe";
  scm_.configBytes = 90;

  const dravik::ServiceConfig config = dravik::GetServiceConfig(scm_, L"Spooler");
  EXPECT_EQ(config.errorCode, 0);
  EXPECT_EQ(config.serviceStartName, L"LocalSystem");
  EXPECT_EQ(config.displayName, L"Print Spooler");
  EXPECT_EQ(config.dependencies, L"RPCSS");  // only the first one
  EXPECT_EQ(config.errorControl, L"1");
  EXPECT_EQ(config.tagId, L"7");
  EXPECT_EQ(config.loadOrderGroup, L"SpoolerGroup");
  EXPECT_EQ(config.imagePath, L"C:\\windows\\system32\\spoolsv.exe");
  EXPECT_EQ(config.startType, L"2");
  EXPECT_EQ(config.serviceType, L"272");
  EXPECT_THAT(scm_.configBuffers, ElementsAre(0u, 144u));
  EXPECT_THAT(scm_.calls, ElementsAre("manager 1", "open Spooler 1", "close Spooler", "close manager"));
  EXPECT_EQ(scm_.openHandles, 0);
}

TEST_F(NTServiceControlTest, TextsLongerThan255CharactersAreTakenWhole) {
  auto& entry = scm_.add(L"Long");
  entry.config.imagePath = L"C:\\" + std::wstring(400, L'p') + L".exe";
  EXPECT_EQ(dravik::GetServiceConfig(scm_, L"Long").imagePath.size(), 3u + 400u + 4u);
}

TEST_F(NTServiceControlTest, FailedConfigQueryGivesTheErrorAndEmptyTexts) {
  const dravik::ServiceConfig missing = dravik::GetServiceConfig(scm_, L"Gone");
  EXPECT_EQ(missing.errorCode, 1060);
  EXPECT_EQ(missing.displayName + missing.startType + missing.serviceType + missing.imagePath +
                missing.tagId + missing.errorControl,
            L"");
  EXPECT_EQ(scm_.openHandles, 0);

  scm_.managerError = 5;
  EXPECT_EQ(dravik::GetServiceConfig(scm_, L"Gone").errorCode, 5);
}

TEST_F(NTServiceControlTest, StateIsTheCurrentStateOrZero) {
  scm_.add(L"Paused").state = scm::kPaused;
  EXPECT_EQ(dravik::GetServiceState(scm_, L"Paused"), 7u);
  EXPECT_EQ(dravik::GetServiceState(scm_, L"Gone"), 0u);
  EXPECT_THAT(std::vector<std::string>(scm_.calls.begin(), scm_.calls.begin() + 2),
              ElementsAre("manager 1", "open Paused 4"));
  EXPECT_EQ(scm_.openHandles, 0);
}

// --- Enumeration ---------------------------------------------------------

TEST_F(NTServiceControlTest, ListsEveryServiceOfTheFilterInTheManagersOrder) {
  scm_.add(L"Zeta");
  scm_.add(L"disk", 0x1, 0);
  scm_.add(L"Alpha", 0x20, 2).state = scm::kRunning;
  const auto rows = list(scm::kTypeWin32);
  EXPECT_THAT(Names(rows), ElementsAre(L"Zeta", L"Alpha"));
  EXPECT_EQ(rows[1].config.displayName, L"Alpha display");
  EXPECT_EQ(rows[1].state, scm::kRunning);
  EXPECT_EQ(scm_.calls.front(), "manager 2147483648");  // GENERIC_READ for the listing
  EXPECT_THAT(Names(list(scm::kTypeDrivers)), ElementsAre(L"disk"));
  EXPECT_THAT(Names(list(scm::kTypeDrivers | scm::kTypeWin32)), ElementsAre(L"Zeta", L"disk", L"Alpha"));
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(scm_.openHandles, 0);
}

TEST_F(NTServiceControlTest, AllocatesExactlyWhatTheSizeRequestSays) {
  for (int i = 0; i < 5; ++i) scm_.add(L"Svc" + std::to_wstring(i));
  list(scm::kTypeWin32);
  ASSERT_EQ(scm_.enumBuffers.size(), 2u);
  EXPECT_EQ(scm_.enumBuffers[0], 0u);
  EXPECT_EQ(scm_.enumBuffers[1], scm_.enumNeeded[0]);
}

TEST_F(NTServiceControlTest, MoreDataGoesOnFromTheResumeHandleUntilAllAreListed) {
  for (int i = 0; i < 7; ++i) scm_.add(L"Svc" + std::to_wstring(i));
  scm_.entriesPerCall = 3;
  const auto rows = list(scm::kTypeWin32);
  EXPECT_THAT(Names(rows), ElementsAre(L"Svc0", L"Svc1", L"Svc2", L"Svc3", L"Svc4", L"Svc5", L"Svc6"));
  // Three rounds of size request plus data call, each going on from where the last stopped.
  EXPECT_THAT(scm_.enumResumes, ElementsAre(0u, 0u, 3u, 3u, 6u, 6u));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(NTServiceControlTest, AManagerThatIgnoresTheResumeHandleCannotMakeTheListingSpin) {
  for (int i = 0; i < 4; ++i) scm_.add(L"Svc" + std::to_wstring(i));
  scm_.entriesPerCall = 2;
  scm_.ignoresResumeHandle = true;
  EXPECT_THAT(Names(list(scm::kTypeWin32)), ElementsAre(L"Svc0", L"Svc1"));
  EXPECT_EQ(scm_.enumBuffers.size(), 2u);
}

TEST_F(NTServiceControlTest, FilterZeroEndsSilentlyWithAnEmptyList) {
  scm_.add(L"Svc");
  EXPECT_TRUE(list(0).empty());
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(scm_.openHandles, 0);
}

TEST_F(NTServiceControlTest, FailedSizeRequestKeepsTheRowsListedSoFarWithoutAMessage) {
  for (int i = 0; i < 4; ++i) scm_.add(L"Svc" + std::to_wstring(i));
  scm_.entriesPerCall = 2;
  fakes::FakeServiceControl& scm = scm_;
  int seen = 0;
  dravik::EnumNTServices(scm_, ui_, scm::kTypeWin32, scm::kStateAll,
                         [&](const std::wstring&, const dravik::ServiceConfig&, std::uint32_t) {
                           if (++seen == 2) scm.sizeRequestError = 1115;  // shutting down
                         });
  EXPECT_EQ(seen, 2);
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(NTServiceControlTest, FailuresOfOpeningAndOfTheDataCallAreReported) {
  scm_.add(L"Svc");
  scm_.managerError = 5;
  EXPECT_TRUE(list(scm::kTypeWin32).empty());
  scm_.managerError = 0;
  scm_.dataCallError = 6;
  EXPECT_TRUE(list(scm::kTypeWin32).empty());
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[0].text, L"API Call Failed OpenSCManager Failed");
  EXPECT_EQ(ui_.boxes[1].text, L"API Call Failed EnumServices Failure");
  for (const auto& box : ui_.boxes) {
    EXPECT_EQ(box.title, L"");  // the application's title
    EXPECT_EQ(box.flags, 0u);
  }
  EXPECT_EQ(scm_.openHandles, 0);
}

TEST_F(NTServiceControlTest, AServiceDeletedBetweenListingAndQueryStillComesThroughEmpty) {
  scm_.add(L"Before");
  scm_.add(L"Vanished").exists = false;  // listed, but gone when opened
  scm_.add(L"After");
  const auto rows = list(scm::kTypeWin32);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].name, L"Vanished");
  EXPECT_EQ(rows[1].config.errorCode, 1060);
  EXPECT_EQ(rows[1].config.displayName, L"");
  EXPECT_EQ(rows[1].state, 0u);
  EXPECT_EQ(rows[2].config.displayName, L"After display");
}

// --- Commands ------------------------------------------------------------

TEST_F(NTServiceControlTest, EachCommandOpensWithItsOwnRightAndClosesServiceThenManager) {
  scm_.add(L"Svc");
  const struct {
    long (*run)(platform::ServiceControl&, const std::wstring&);
    const char* open;
    const char* request;
  } table[] = {
      {&dravik::StartNTService, "open Svc 16", "start Svc"},
      {&dravik::PauseNTService, "open Svc 64", "control Svc 2"},
      {&dravik::ContinueNTService, "open Svc 64", "control Svc 3"},
      {&dravik::StopNTService, "open Svc 32", "control Svc 1"},
  };
  for (const auto& row : table) {
    scm_.calls.clear();
    EXPECT_EQ(row.run(scm_, L"Svc"), 0) << row.request;
    EXPECT_THAT(scm_.calls, ElementsAre("manager 1", row.open, row.request, "close Svc", "close manager"));
  }
  EXPECT_EQ(scm_.find(L"Svc")->state, scm::kStopped);
  EXPECT_EQ(scm_.openHandles, 0);
}

TEST_F(NTServiceControlTest, CommandsReturnTheErrorOfTheStepThatFailed) {
  scm_.add(L"Svc");
  EXPECT_EQ(dravik::StopNTService(scm_, L"Svc"), 1062);   // not running
  EXPECT_EQ(dravik::StartNTService(scm_, L"Gone"), 1060);  // no such service
  EXPECT_THAT(std::vector<std::string>(scm_.calls.end() - 3, scm_.calls.end()),
              ElementsAre("manager 1", "open Gone 16", "close manager"));
  EXPECT_EQ(dravik::StartNTService(scm_, L""), 123);
  scm_.managerError = 5;
  EXPECT_EQ(dravik::StartNTService(scm_, L"Svc"), 5);
  EXPECT_EQ(scm_.calls.back(), "manager 1");
  EXPECT_EQ(scm_.openHandles, 0);
}

TEST_F(NTServiceControlTest, DeleteSendsStopFirstAndOnlyTheDeletionDecides) {
  auto& running = scm_.add(L"Running");
  running.state = scm::kRunning;
  running.refusesStop = true;
  EXPECT_EQ(dravik::DeleteNTService(scm_, L"Running"), 0);
  EXPECT_THAT(scm_.calls, ElementsAre("manager 1", "open Running 983551", "control Running 1",
                                      "delete Running", "close Running", "close manager"));
  EXPECT_TRUE(scm_.find(L"Running")->markedForDelete);

  scm_.add(L"Stopped");
  EXPECT_EQ(dravik::DeleteNTService(scm_, L"Stopped"), 0);  // stop fails with 1062, ignored
  EXPECT_EQ(dravik::DeleteNTService(scm_, L"Running"), 1072);
}

TEST_F(NTServiceControlTest, StartTypeChangeTouchesNothingElse) {
  auto& entry = scm_.add(L"Svc", 0x10, 3);
  entry.config.errorControl = 1;
  EXPECT_EQ(dravik::SetServiceStartType(scm_, L"Svc", scm::kNoChange, 4, scm::kNoChange, nullptr), 0);
  EXPECT_EQ(scm_.calls[1], "open Svc 2");
  EXPECT_EQ(scm_.calls[2], "change Svc 4294967295 4 4294967295 notag");
  EXPECT_EQ(entry.config.startType, 4u);
  EXPECT_EQ(entry.config.serviceType, 0x10u);
  EXPECT_EQ(entry.config.errorControl, 1u);
  EXPECT_EQ(dravik::SetServiceStartType(scm_, L"Svc", scm::kNoChange, 77, scm::kNoChange, nullptr), 87);
}

// --- Texts ---------------------------------------------------------------

TEST_F(NTServiceControlTest, ErrorTextsComeFromTheSystemExceptForZeroAnd1055) {
  scm_.messages[1062] = L"Service not active.\r\n";
  scm_.messages[1055] = L"The service database is locked.\r\n";
  EXPECT_EQ(dravik::ServiceErrorText(scm_, 0), L"NO_ERROR");
  EXPECT_EQ(dravik::ServiceErrorText(scm_, 1055), L"ERROR_DATABASE_LOCKED");
  EXPECT_EQ(dravik::ServiceErrorText(scm_, 1062), L"Service not active.\r\n");
  EXPECT_EQ(dravik::ServiceErrorText(scm_, 31337), L"UNKNOWN_ERROR 31337");
}

TEST(ServiceTexts, StateTextsComeFromTheLanguageFile) {
  servicetests::LanguageFile file;
  const std::pair<std::uint32_t, const wchar_t*> table[] = {
      {1, L"Stopped"},          {2, L"Start Pending"},    {3, L"Stop Pending"}, {4, L"Running"},
      {5, L"Continue Pending"}, {6, L"Pause Pending"},    {7, L"Paused"},       {0, L"Unknown"},
      {8, L"Unknown"},          {0xFFFFFFFFu, L"Unknown"},
  };
  for (const auto& [state, text] : table) {
    EXPECT_EQ(dravik::ServiceStateText(file.language(), state), text) << state;
  }
  // A language without the pending texts shows them empty, not in English.
  servicetests::LanguageFile sparse("77=L\xe4uft\r\n");  // code page 1252
  EXPECT_EQ(dravik::ServiceStateText(sparse.language(), 2), L"");
  EXPECT_EQ(dravik::ServiceStateText(sparse.language(), 4), L"L\u00e4uft");
}

TEST(ServiceTexts, StartTypesReadTheNamedTextsNumerically) {
  dravik::MessageTexts messages;
  messages.set(dravik::MessageText::Manual, L"Manuell");
  EXPECT_EQ(dravik::StartTypeText(messages, L"3"), L"Manuell");
  EXPECT_EQ(dravik::StartTypeText(messages, L"03"), L"Manuell");
  EXPECT_EQ(dravik::StartTypeText(messages, L"0"), L"Boot");
  EXPECT_EQ(dravik::StartTypeText(messages, L"1"), L"System");
  EXPECT_EQ(dravik::StartTypeText(messages, L"2"), L"Automatic");
  EXPECT_EQ(dravik::StartTypeText(messages, L"4"), L"Disabled");
  for (const wchar_t* odd : {L"", L"5", L"-1", L"x", L"3x", L"99999999999999999999"}) {
    EXPECT_EQ(dravik::StartTypeText(messages, odd), L"Unknown") << odd;
  }
}

TEST(ServiceTexts, ServiceTypesAreFixedEnglishAndExact) {
  const std::pair<const wchar_t*, const wchar_t*> table[] = {
      {L"1", L"Kernel Mode Driver"},  {L"2", L"File System Driver"},
      {L"4", L"Adapter"},             {L"8", L"Driver Service"},
      {L"16", L"Own Process"},        {L"32", L"Shared Process"},
      {L"272", L"Own Process (Interactive)"}, {L"288", L"Shared Process (Interactive)"},
      {L"", L"Unknown"},              {L"48", L"Unknown"},
      {L"80", L"Unknown"},            {L"0", L"Unknown"}, {L"abc", L"Unknown"},
  };
  for (const auto& [code, text] : table) EXPECT_EQ(dravik::ServiceTypeText(code), text) << code;
}

}  // namespace
