// The rows of the Services list: columns, pictures, filters and the start-type
// check marks, built from the library's records.
#include "services/service_list.h"

#include <gtest/gtest.h>

#include "services/service_test_language.h"

namespace {

using dravik::ServicePicture;

dravik::ServiceConfig Config(const std::wstring& startType, const std::wstring& serviceType) {
  dravik::ServiceConfig config;
  config.displayName = L"Print Spooler";
  config.startType = startType;
  config.serviceType = serviceType;
  config.imagePath = L"C:\\windows\\system32\\spoolsv.exe";
  config.serviceStartName = L"LocalSystem";
  config.loadOrderGroup = L"SpoolerGroup";
  return config;
}

TEST(ServiceTypeFilter, FollowsTheTwoViewCheckMarks) {
  EXPECT_EQ(dravik::ServiceTypeFilter(true, false), 48u);
  EXPECT_EQ(dravik::ServiceTypeFilter(false, true), 11u);
  EXPECT_EQ(dravik::ServiceTypeFilter(true, true), 59u);
  EXPECT_EQ(dravik::ServiceTypeFilter(false, false), 0u);
}

TEST(ServiceRow, FillsTheEightColumnsInOrder) {
  servicetests::LanguageFile file;
  dravik::StateTexts states(file.language());
  dravik::MessageTexts messages;
  const auto row = dravik::MakeServiceRow(states, messages, L"Spooler",
                                          Config(L"2", L"272"), platform::scm::kRunning);
  const std::array<std::wstring, 8> expected = {
      L"Print Spooler", L"Spooler", L"Running", L"Automatic", L"C:\\windows\\system32\\spoolsv.exe",
      L"Own Process (Interactive)", L"LocalSystem", L"SpoolerGroup"};
  EXPECT_EQ(row.columns, expected);
  EXPECT_EQ(row.picture, ServicePicture::Running);
}

TEST(ServiceRow, AFailedConfigurationShowsUnknownTypesAndEmptyTexts) {
  servicetests::LanguageFile file;
  dravik::StateTexts states(file.language());
  dravik::MessageTexts messages;
  dravik::ServiceConfig failed;
  failed.errorCode = 1060;
  const auto row = dravik::MakeServiceRow(states, messages, L"Gone", failed, 0);
  const std::array<std::wstring, 8> expected = {L"", L"Gone", L"Unknown", L"Unknown",
                                                L"", L"Unknown", L"", L""};
  EXPECT_EQ(row.columns, expected);
  EXPECT_EQ(row.picture, ServicePicture::Other);
}

TEST(StateTexts, EachStateIsLookedUpOnceAndAgreesWithTheLibrary) {
  servicetests::LanguageFile file;
  dravik::StateTexts states(file.language());
  for (std::uint32_t state : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 99u}) {
    EXPECT_EQ(states(state), dravik::ServiceStateText(file.language(), state)) << state;
  }
  const int reads = file.reads();
  for (int round = 0; round < 50; ++round) {
    for (std::uint32_t state = 0; state < 10; ++state) states(state);
  }
  EXPECT_EQ(file.reads(), reads);
  EXPECT_EQ(states(4), L"Running");
  EXPECT_EQ(states(12345), L"Unknown");
}

TEST(ServiceRow, OnlyALeadingKernelPrefixIsTrimmedFromThePath) {
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"\\??\\C:\\windows\\system32\\drivers\\null.sys"),
            L"C:\\windows\\system32\\drivers\\null.sys");
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"system32\\drivers\\\\??\\x.sys"), L"system32\\drivers\\\\??\\x.sys");
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"\\??"), L"\\??");
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"\\??\\"), L"");
  EXPECT_EQ(dravik::WithoutDevicePrefix(L"\\\\?\\C:\\x.sys"), L"\\\\?\\C:\\x.sys");
}

TEST(RowPicture, DisabledBeatsRunningAndPausedOtherwiseTheStateDecides) {
  dravik::MessageTexts messages;
  const struct {
    const wchar_t* state;
    const wchar_t* start;
    ServicePicture picture;
  } table[] = {
      {L"Running", L"Automatic", ServicePicture::Running},
      {L"Paused", L"Manual", ServicePicture::Paused},
      {L"Running", L"Disabled", ServicePicture::Disabled},
      {L"Paused", L"Disabled", ServicePicture::Disabled},
      {L"Stopped", L"Disabled", ServicePicture::Disabled},
      {L"Stopped", L"Manual", ServicePicture::Other},
      {L"Start Pending", L"Automatic", ServicePicture::Other},
      {L"Unknown", L"Unknown", ServicePicture::Other},
      {L"running", L"disabled", ServicePicture::Other},  // exact, case-sensitive comparisons
  };
  for (const auto& row : table) {
    EXPECT_EQ(dravik::RowPicture(messages, row.state, row.start), row.picture)
        << std::string(row.state, row.state + wcslen(row.state));
  }
}

TEST(RowPicture, ComparesWithTheTextsOfTheCurrentLanguage) {
  servicetests::LanguageFile file("77=L\xe4uft\r\n106=Angehalten\r\n24=Deaktiviert\r\n");
  dravik::MessageTexts messages;
  messages.load(file.language());
  dravik::StateTexts states(file.language());
  auto state = [&](std::uint32_t code) {
    dravik::ServiceConfig config;
    config.startType = L"3";
    return dravik::MakeServiceRow(states, messages, L"S", config, code).picture;
  };
  EXPECT_EQ(state(platform::scm::kRunning), ServicePicture::Running);
  EXPECT_EQ(state(platform::scm::kPaused), ServicePicture::Paused);
  dravik::ServiceConfig disabled;
  disabled.startType = L"4";
  EXPECT_EQ(dravik::MakeServiceRow(states, messages, L"S", disabled, platform::scm::kRunning)
                .picture,
            ServicePicture::Disabled);
}

TEST(StartTypeOfText, FirstMatchingNamedTextWinsAndUnknownMatchesNone) {
  dravik::MessageTexts messages;
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"Boot"), 0);
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"System"), 1);
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"Automatic"), 2);
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"Manual"), 3);
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"Disabled"), 4);
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"Unknown"), -1);
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"manual"), -1);
  // A language that uses one word twice: the earlier start type is taken.
  messages.set(dravik::MessageText::Automatic, L"Auto");
  messages.set(dravik::MessageText::Manual, L"Auto");
  EXPECT_EQ(dravik::StartTypeOfText(messages, L"Auto"), 2);
}

}  // namespace
