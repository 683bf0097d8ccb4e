// The real draviktm.exe: closing its window only hides it, File > Exit ends it.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "app/main_commands.h"
#include "support/win/screenshot.h"
#include "support/win/settings_guard.h"
#include "support/win/test_support.h"

namespace {

using namespace std::chrono_literals;

HWND FindWindowOf(DWORD pid, const wchar_t* className) {
  for (HWND w : testsupport::WindowsOf(pid, className)) return w;
  return nullptr;
}

// The shell accepts a change to an icon only while that icon is shown.
bool TrayIconShown(HWND trayWindow) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = trayWindow;
  data.uID = 1;
  data.uFlags = NIF_TIP;
  wcscpy(data.szTip, L"Dravik Task Manager");
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

class ProgramCloseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::DeleteSetting(L"Language");  // English
    testsupport::DeleteSetting(L"RunMinimized");
    program_ = testsupport::Start(testsupport::ProgramPath());
    ASSERT_TRUE(testsupport::WaitFor([&] {
      main_ = FindWindowOf(program_.pid(), L"DravikTaskManagerMain");
      tray_ = FindWindowOf(program_.pid(), L"DravikTaskManagerTray");
      return main_ && tray_ && ::IsWindowVisible(main_) && TrayIconShown(tray_);
    })) << "the program did not show its window and its tray icon";
  }

  testsupport::SettingsGuard settings_{{L"Language", L"Heigth", L"Width", L"RunMinimized"}};
  testsupport::ChildProcess program_;
  HWND main_ = nullptr;
  HWND tray_ = nullptr;
};

TEST_F(ProgramCloseTest, TheCloseBoxHidesTheWindowAndTheProgramStaysInTheTray) {
  ::PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(testsupport::WaitFor([&] { return !::IsWindowVisible(main_); }, 5s));
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(program_.running());
  EXPECT_TRUE(::IsWindow(main_));
  EXPECT_TRUE(TrayIconShown(tray_));
  // A click on the icon brings it back.
  ::PostMessageW(tray_, WM_APP + 1, 1, WM_LBUTTONUP);
  EXPECT_TRUE(testsupport::WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, 5s));
  program_.kill();
}

TEST_F(ProgramCloseTest, FileExitSavesTheSizeRemovesTheIconAndEnds) {
  ::SetWindowPos(main_, nullptr, 0, 0, 820, 630, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(dravik::MenuId::Exit), 0);
  ASSERT_TRUE(program_.waitForExit(10000)) << "File > Exit did not end the program";
  EXPECT_EQ(program_.exitCode(), 0u);
  EXPECT_EQ(testsupport::ReadSetting(L"Heigth"), L"9450");  // 630 pixels of 15 twips
  EXPECT_EQ(testsupport::ReadSetting(L"Width"), L"12300");
  EXPECT_FALSE(TrayIconShown(tray_));
}

TEST_F(ProgramCloseTest, TabsSwitchWithTheirButtonsAndEachTabIsPhotographed) {
  HWND tabs = ::FindWindowExW(main_, nullptr, WC_TABCONTROLW, nullptr);
  HWND toolbar = ::FindWindowExW(main_, nullptr, TOOLBARCLASSNAMEW, nullptr);
  ASSERT_NE(tabs, nullptr);
  ASSERT_NE(toolbar, nullptr);
  const auto enabled = [&](int position) {
    return ::SendMessageW(toolbar, TB_ISBUTTONENABLED, dravik::ToolbarCommandId(position), 0) != 0;
  };
  ::SetForegroundWindow(main_);
  for (int tab = 1; tab <= 4; ++tab) {
    if (tab > 1) {
      // The arrow key moves the tab strip's selection as a click would.
      ::PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
      ::PostMessageW(tabs, WM_KEYUP, VK_RIGHT, 0);
    }
    ASSERT_TRUE(testsupport::WaitFor([&] { return ::SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == tab - 1; }, 5s))
        << "tab " << tab << " was not selected";
    std::this_thread::sleep_for(700ms);  // let the program handle the switch and draw
    EXPECT_TRUE(enabled(2));
    EXPECT_TRUE(enabled(16));
    EXPECT_EQ(enabled(3), tab == 1);
    EXPECT_EQ(enabled(7), tab == 2 || tab == 4);
    EXPECT_EQ(enabled(8), tab == 2 || tab == 4);
    EXPECT_EQ(enabled(11), tab == 3);
    EXPECT_FALSE(testsupport::SaveScreenshot(L"tab-" + std::to_wstring(tab)).empty());
  }
  program_.kill();
}

// The screen resolution Wine gives the programs it starts from now on
// (Control Panel\Desktop "LogPixels"), put back afterwards.
class ScreenResolution {
 public:
  explicit ScreenResolution(DWORD dotsPerInch) {
    DWORD value = 0, size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &size) == 0) {
      saved_ = value;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &dotsPerInch, sizeof(dotsPerInch));
  }
  ~ScreenResolution() {
    if (saved_) {
      ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &*saved_, sizeof(DWORD));
    } else {
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels");
    }
  }

 private:
  static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
  std::optional<DWORD> saved_;
};

TEST(ProgramResolution, TheDefaultWindowKeepsItsSizeInInchesAt144Dpi) {
  testsupport::SettingsGuard settings{{L"Heigth", L"Width", L"RunMinimized"}};
  testsupport::DeleteSetting(L"Heigth");
  testsupport::DeleteSetting(L"Width");
  testsupport::DeleteSetting(L"RunMinimized");
  HWND main = nullptr;
  RECT r{};
  {
    ScreenResolution large(144);
    auto program = testsupport::Start(testsupport::ProgramPath());
    ASSERT_TRUE(testsupport::WaitFor([&] {
      main = FindWindowOf(program.pid(), L"DravikTaskManagerMain");
      return main && ::IsWindowVisible(main);
    })) << "the program did not show its window";
    std::this_thread::sleep_for(500ms);
    ::GetWindowRect(main, &r);
    program.kill();
  }
  // 11415 x 8820 twips are 1141.5 x 882 pixels at 10 twips a pixel.
  EXPECT_NEAR(r.right - r.left, 1142, 1);
  EXPECT_EQ(r.bottom - r.top, 882);
}

}  // namespace
