// The service library, the rows of the Services list and the tab's commands,
// over an in-memory manager: what the Wine tests cannot stage (paging,
// failures, start types a Win32 service refuses).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doubles/fake_services.h"
#include "doubles/fake_system.h"
#include "doubles/fake_tasks.h"
#include "services/service_commands.h"
#include "services/service_list.h"

namespace {

using dravik::Command;
using dravik::ServicePicture;
using ::testing::ElementsAre;
namespace scm = platform::scm;

// The state texts and the error title of a language file.
constexpr char kServiceTexts[] = "77=Running\r\n89=Service Error\r\n101=Stopped\r\n102=Start Pending\r\n103=Stop Pending\r\n"
                                 "104=Continue Pending\r\n105=Pause Pending\r\n106=Paused\r\n";

class ServicesTest : public ::testing::Test {
 protected:
  std::vector<std::wstring> list() {
    std::vector<std::wstring> names;
    const std::wstring failure =
        dravik::EnumNTServices(scm_, scm::kTypeWin32, scm::kStateAll,
                               [&](const std::wstring& name, const dravik::ServiceConfig& config, std::uint32_t state) {
                                 names.push_back(name);
                                 configs.push_back(config);
                                 states.push_back(state);
                               });
    if (!failure.empty()) failures.push_back(failure);
    return names;
  }
  bool run(Command command, std::optional<std::wstring> name = L"Spooler") {
    return dravik::RunServiceCommand(command, name, context_);
  }

  fakes::FakeServiceControl scm_;
  fakes::FakeUserInterface ui_;
  std::vector<dravik::ServiceConfig> configs;
  std::vector<std::uint32_t> states;
  std::vector<std::wstring> failures;  // the reports of failed listings
  fakes::TempLanguage file_{kServiceTexts};
  dravik::MessageTexts messages_;
  std::vector<std::string> steps_;
  dravik::ServiceCommandContext context_{scm_, ui_, file_.language(), messages_,
                                         [this](int s) { steps_.push_back("rebuild after " + std::to_string(s)); }};
};

TEST_F(ServicesTest, ALongPathComesWholeAndOfTheDependenciesOnlyTheFirst) {
  // The other fields are proved by the Wine test on a real service.
  auto& entry = scm_.add(L"Spooler");
  entry.config.imagePath = L"C:\\" + std::wstring(400, L'p') + L".exe";
  entry.config.dependencies = std::wstring(L"RPCSS\0http\0", 11);
  const dravik::ServiceConfig c = dravik::GetServiceConfig(scm_, L"Spooler");
  EXPECT_EQ(c.imagePath + L"|" + c.dependencies, entry.config.imagePath + L"|RPCSS");
  scm_.managerError = 5;
  EXPECT_EQ(dravik::GetServiceConfig(scm_, L"Spooler").errorCode, 5);
}

// Wine ignores the resume handle; Windows pages with it.
TEST_F(ServicesTest, MoreDataGoesOnFromTheResumeHandleAndCannotSpinWhenItIsIgnored) {
  for (int i = 0; i < 7; ++i) scm_.add(L"Svc" + std::to_wstring(i));
  scm_.entriesPerCall = 3;
  EXPECT_EQ(list().size(), 7u);
  EXPECT_EQ(scm_.calls.front(), "manager 2147483648");  // GENERIC_READ for the listing
  std::vector<std::uint32_t> resumes;
  for (const auto& call : scm_.enums) resumes.push_back(call.resume);
  EXPECT_THAT(resumes, ElementsAre(0u, 0u, 3u, 3u, 6u, 6u));  // size request and data call per round
  EXPECT_EQ(scm_.enums[1].buffer, scm_.enums[0].needed);
  scm_.enums.clear();
  scm_.ignoresResumeHandle = true;
  EXPECT_THAT(list(), ElementsAre(L"Svc0", L"Svc1", L"Svc2"));
  EXPECT_EQ(scm_.enums.size(), 2u);
  EXPECT_TRUE(failures.empty());
}

TEST_F(ServicesTest, ListingFailuresAndAServiceDeletedBetweenListingAndQuery) {
  scm_.add(L"Vanished").exists = false;  // listed, but gone when opened
  scm_.add(L"After");
  EXPECT_EQ(list().size(), 2u);
  EXPECT_EQ(configs[0].errorCode, 1060);
  EXPECT_EQ(configs[0].displayName + std::to_wstring(states[0]), L"0");
  EXPECT_EQ(configs[1].displayName, L"After display");

  scm_.managerError = 5;
  EXPECT_TRUE(list().empty());
  scm_.managerError = 0;
  scm_.dataCallError = 6;
  EXPECT_TRUE(list().empty());
  EXPECT_THAT(failures, ElementsAre(L"API Call Failed OpenSCManager Failed", L"API Call Failed EnumServices Failure"));
}

TEST(ServiceTexts, ErrorStateStartAndServiceTypeTexts) {
  fakes::FakeServiceControl control;
  control.messages = {{1062, L"Service not active.\r\n"}, {1055, L"The service database is locked.\r\n"}};
  EXPECT_THAT((std::vector{dravik::ServiceErrorText(control, 0), dravik::ServiceErrorText(control, 1055),
                           dravik::ServiceErrorText(control, 1062), dravik::ServiceErrorText(control, 31337)}),
              ElementsAre(L"NO_ERROR", L"ERROR_DATABASE_LOCKED", L"Service not active.\r\n", L"UNKNOWN_ERROR 31337"));
  fakes::TempLanguage file(kServiceTexts);
  std::vector<std::wstring> stateTexts;
  for (std::uint32_t state = 0; state < 9; ++state) stateTexts.push_back(dravik::ServiceStateText(file.language(), state));
  EXPECT_THAT(stateTexts, ElementsAre(L"Unknown", L"Stopped", L"Start Pending", L"Stop Pending", L"Running",
                                      L"Continue Pending", L"Pause Pending", L"Paused", L"Unknown"));
  fakes::TempLanguage sparse("77=L\xe4uft\r\n");  // no pending texts: empty, not English
  EXPECT_EQ(dravik::ServiceStateText(sparse.language(), 2), L"");

  dravik::MessageTexts messages;
  messages.set(dravik::MessageText::Manual, L"Manuell");
  std::vector<std::wstring> startTypes;
  for (auto code : {L"3", L"03", L"0", L"1", L"2", L"4", L"", L"5", L"-1", L"3x", L"99999999999999999999"}) {
    startTypes.push_back(dravik::StartTypeText(messages, code));
  }
  EXPECT_THAT(startTypes, ElementsAre(L"Manuell", L"Manuell", L"Boot", L"System", L"Automatic", L"Disabled",
                                      L"Unknown", L"Unknown", L"Unknown", L"Unknown", L"Unknown"));
  std::vector<std::wstring> types;
  for (auto code : {L"1", L"2", L"4", L"8", L"16", L"32", L"272", L"288", L"", L"48", L"abc"}) {
    types.push_back(dravik::ServiceTypeText(code));
  }
  EXPECT_THAT(types, ElementsAre(L"Kernel Mode Driver", L"File System Driver", L"Adapter", L"Driver Service",
                                 L"Own Process", L"Shared Process", L"Own Process (Interactive)",
                                 L"Shared Process (Interactive)", L"Unknown", L"Unknown", L"Unknown"));
}

TEST(ServiceRows, ColumnsPicturesAndStartTypesOfTheList) {
  fakes::TempLanguage file(kServiceTexts);
  dravik::StateTexts states(file.language());
  dravik::MessageTexts messages;
  dravik::ServiceConfig gone;
  gone.errorCode = 1060;
  auto row = dravik::MakeServiceRow(states, messages, L"Gone", gone, 0);
  EXPECT_THAT(row.columns, ElementsAre(L"", L"Gone", L"Unknown", L"Unknown", L"", L"Unknown", L"", L""));
  EXPECT_EQ(row.picture, ServicePicture::Other);
  // Only a leading kernel prefix is trimmed.
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"\\??\\C:\\x.sys"), L"C:\\x.sys");
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"x\\\\??\\y.sys"), L"x\\\\??\\y.sys");
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"\\??"), L"\\??");

  const std::tuple<const wchar_t*, const wchar_t*, ServicePicture> pictures[] = {
      {L"Start Pending", L"Automatic", ServicePicture::Other}, {L"Paused", L"Disabled", ServicePicture::Disabled},
      {L"running", L"disabled", ServicePicture::Other}};  // exact, case-sensitive comparisons
  for (const auto& [state, start, picture] : pictures) {
    EXPECT_EQ(dravik::RowPicture(messages, state, start), picture) << std::wstring(state) + L"/" + start;
  }
  EXPECT_THAT((std::vector{dravik::StartTypeOfText(messages, L"Boot"), dravik::StartTypeOfText(messages, L"Disabled"),
                           dravik::StartTypeOfText(messages, L"Unknown"), dravik::StartTypeOfText(messages, L"manual")}),
              ElementsAre(0, 4, -1, -1));
}

// The Wine tests run every command on a real service; here what they cannot stage.
TEST_F(ServicesTest, ACommandWithoutARowAndTheStartTypesThatWaitOneSecond) {
  scm_.add(L"Spooler").state = scm::kRunning;
  scm_.messages = {{123, L"Invalid name.\r\n"}};
  run(Command::ResumeService, std::nullopt);  // no row selected: the manager's error for an empty name
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text + L"|" + ui_.boxes[0].title, L"Name: \r\nInvalid name.\r\n|Service Error");  // key 89
  EXPECT_THAT(steps_, ElementsAre("rebuild after 2"));

  const Command startTypes[] = {Command::StartupBoot, Command::StartupSystem, Command::StartupAutomatic,
                                Command::StartupManual, Command::StartupDisabled};
  for (std::uint32_t type = 0; type < 5; ++type) {
    steps_.clear();
    EXPECT_TRUE(run(startTypes[type]));
    EXPECT_EQ(scm_.calls.end()[-3], "change Spooler 4294967295 " + std::to_string(type) + " 4294967295 notag");
    EXPECT_THAT(steps_, ElementsAre("rebuild after 1"));
  }
  scm_.calls.clear();
  steps_.clear();
  EXPECT_TRUE(run(Command::StartupDisabled, std::nullopt));  // no row: nothing at all
  EXPECT_FALSE(run(Command::EndTask));
  EXPECT_TRUE(scm_.calls.empty() && steps_.empty() && ui_.boxes.size() == 1);
}

}  // namespace
