// The service library over Wine's real service control manager: the Win32
// layer keeps the contract the portable code relies on.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/win32_services.h"
#include "services/nt_service_control.h"
#include "services/win/test_service_install.h"
#include "support/win/test_support.h"

namespace {

namespace scm = platform::scm;

class Win32ServicesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { servicetests::RemoveLeftoverTestServices(); }
  void SetUp() override {
    service_ = std::make_unique<servicetests::InstalledService>(
        std::wstring(servicetests::kTestServicePrefix) + L"Layer", testsupport::TestDir() + L"\\test_service.exe");
    ASSERT_EQ(service_->createError(), 0u);
  }
  void TearDown() override { service_.reset(); }

  const std::wstring& name() const { return service_->name(); }

  platform::win32::Win32ServiceControl control_;
  std::unique_ptr<servicetests::InstalledService> service_;
};

TEST_F(Win32ServicesTest, TheSizeRequestsReportWhatTheDataCallsNeed) {
  long error = 0;
  auto manager = control_.openManager(scm::kGenericRead, error);
  ASSERT_TRUE(manager) << error;
  std::uint32_t needed = 0, resume = 0;
  std::vector<std::wstring> names;
  EXPECT_EQ(manager->enumerate(scm::kTypeWin32, scm::kStateAll, 0, needed, resume, names), scm::kErrorMoreData);
  EXPECT_GT(needed, 0u);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(manager->enumerate(scm::kTypeWin32, scm::kStateAll, needed, needed, resume, names), 0);
  EXPECT_NE(std::find(names.begin(), names.end(), name()), names.end());
  EXPECT_EQ(manager->enumerate(0, scm::kStateAll, 0, needed, resume, names), 87);

  auto service = manager->openService(name(), scm::kQueryConfig, error);
  ASSERT_TRUE(service) << error;
  platform::ServiceConfigData data;
  std::uint32_t configNeeded = 0;
  EXPECT_EQ(service->queryConfig(0, configNeeded, data), scm::kErrorInsufficientBuffer);
  EXPECT_EQ(service->queryConfig(configNeeded - 1, configNeeded, data), scm::kErrorInsufficientBuffer);
  EXPECT_EQ(service->queryConfig(configNeeded, configNeeded, data), 0);
  EXPECT_EQ(data.displayName, L"Dravik test " + name());
  EXPECT_EQ(data.startType, 3u);

  EXPECT_FALSE(manager->openService(L"NoSuchDravikService", scm::kQueryStatus, error));
  EXPECT_EQ(error, 1060);
}

TEST_F(Win32ServicesTest, LibraryReadsConfigAndStateAndCommandsReturnWinesCodes) {
  const dravik::ServiceConfig config = dravik::GetServiceConfig(control_, name());
  EXPECT_EQ(config.errorCode, 0);
  EXPECT_EQ(config.imagePath, service_->commandLine());
  EXPECT_EQ(config.serviceType, L"16");
  EXPECT_EQ(config.startType, L"3");
  EXPECT_EQ(config.errorControl, L"1");
  EXPECT_EQ(dravik::GetServiceState(control_, name()), scm::kStopped);
  EXPECT_EQ(dravik::GetServiceConfig(control_, L"NoSuchDravikService").errorCode, 1060);
  EXPECT_EQ(dravik::GetServiceState(control_, L"NoSuchDravikService"), 0u);

  EXPECT_EQ(dravik::StopNTService(control_, name()), 1062);
  EXPECT_EQ(dravik::PauseNTService(control_, name()), 1062);
  EXPECT_EQ(dravik::StartNTService(control_, L"NoSuchDravikService"), 1060);
  EXPECT_EQ(dravik::SetServiceStartType(control_, name(), scm::kNoChange, 77, scm::kNoChange, nullptr), 87);
  EXPECT_EQ(dravik::SetServiceStartType(control_, name(), scm::kNoChange, 4, scm::kNoChange, nullptr), 0);
  EXPECT_EQ(dravik::StartNTService(control_, name()), 1058);  // disabled
  EXPECT_EQ(dravik::SetServiceStartType(control_, name(), scm::kNoChange, 3, scm::kNoChange, nullptr), 0);
  const dravik::ServiceConfig after = dravik::GetServiceConfig(control_, name());
  EXPECT_EQ(after.imagePath, config.imagePath);  // only the start type changed
  EXPECT_EQ(after.displayName, config.displayName);
  EXPECT_EQ(after.errorControl, L"1");

  ASSERT_EQ(service_->startAndWait(), 0u);
  EXPECT_EQ(dravik::StartNTService(control_, name()), 1056);
  EXPECT_EQ(dravik::GetServiceState(control_, name()), scm::kRunning);
}

TEST_F(Win32ServicesTest, DeletingARunningServiceStopsItFirst) {
  ASSERT_EQ(service_->startAndWait(), 0u);
  EXPECT_EQ(dravik::DeleteNTService(control_, name()), 0);
  EXPECT_TRUE(servicetests::WaitForServiceState(name(), 0));  // stopped and gone
  EXPECT_EQ(dravik::DeleteNTService(control_, name()), 1060);
}

TEST_F(Win32ServicesTest, ErrorTextsAreTheSystemsWithTheirLineBreak) {
  EXPECT_EQ(dravik::ServiceErrorText(control_, 0), L"NO_ERROR");
  EXPECT_EQ(dravik::ServiceErrorText(control_, 1055), L"ERROR_DATABASE_LOCKED");
  const std::wstring text = dravik::ServiceErrorText(control_, 1060);
  ASSERT_GE(text.size(), 3u);
  EXPECT_EQ(text.substr(text.size() - 2), L"\r\n");
  EXPECT_EQ(dravik::ServiceErrorText(control_, 0x7FFF1234), L"UNKNOWN_ERROR 2147422772");
}

}  // namespace
