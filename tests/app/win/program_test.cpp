// The real draviktm.exe from start to File > Exit, at 144 DPI so the twips
// conversion must use the screen's own resolution.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/main_commands.h"
#include "support/win/test_support.h"

namespace {

// The shell accepts a change to an icon only while that icon is shown.
bool TrayIconShown(HWND tray) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = tray;
  data.uID = 1;
  data.uFlags = NIF_TIP;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

TEST(Program, RunsOnceHidesOnCloseStaysInTheTrayAndSavesItsSizeOnExit) {
  using testsupport::WaitFor;
  testsupport::RegistryGuard settings{HKEY_LOCAL_MACHINE, testsupport::kSettingsKey,
                                      {L"Language", L"Heigth", L"Width", L"RunMinimized"}};
  for (const wchar_t* name : {L"Language", L"Heigth", L"Width", L"RunMinimized"}) {
    testsupport::DeleteRegistryValue(HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, name);
  }
  // The resolution Wine gives the programs it starts from now on.
  testsupport::RegistryGuard resolution{HKEY_CURRENT_USER, L"Control Panel\\Desktop", {L"LogPixels"}};
  const DWORD dpi = 144;
  testsupport::SetRegistryValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));

  auto program = testsupport::Start(testsupport::ProgramPath());
  HWND main = nullptr, tray = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    const auto mains = testsupport::WindowsOf(program.pid(), L"DravikTaskManagerMain");
    const auto trays = testsupport::WindowsOf(program.pid(), L"DravikTaskManagerTray");
    main = mains.empty() ? nullptr : mains[0];
    tray = trays.empty() ? nullptr : trays[0];
    return main && tray && ::IsWindowVisible(main) && TrayIconShown(tray);
  })) << "the program did not show its window and its tray icon";
  // 11415 x 8820 twips are 1141.5 x 882 pixels at 10 twips a pixel.
  RECT r{};
  ::GetWindowRect(main, &r);
  EXPECT_NEAR(r.right - r.left, 1142, 1);
  EXPECT_EQ(r.bottom - r.top, 882);

  auto second = testsupport::Start(testsupport::ProgramPath());
  testsupport::MessageBoxInfo box;
  ASSERT_TRUE(WaitFor([&] { return (box = testsupport::FindMessageBox(second.pid())).window != nullptr; }))
      << "the second copy showed no message";
  EXPECT_EQ(box.title, L"Dravik Task Manager");
  EXPECT_EQ(box.text, L"Application is already running!");
  for (HWND w : testsupport::WindowsOf(second.pid())) {
    EXPECT_TRUE(w == box.window || !::IsWindowVisible(w)) << "the second copy shows a window of its own";
  }
  ::PostMessageW(box.window, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(second.waitForExit(10000));

  ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }));
  ::Sleep(500);
  EXPECT_TRUE(program.running()) << "closing the window ended the program";
  EXPECT_TRUE(TrayIconShown(tray));
  ::PostMessageW(tray, WM_APP + 1, 1, WM_LBUTTONUP);  // a click on the icon brings it back
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }));

  // The window cannot grow past the 1024 x 768 desktop, so it keeps its size: 10 twips a pixel.
  ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(dravik::Command::Exit), 0);
  ASSERT_TRUE(program.waitForExit(10000)) << "File > Exit did not end the program";
  EXPECT_EQ(program.exitCode(), 0u);
  EXPECT_EQ(testsupport::ReadSetting(L"Heigth"), std::to_wstring((r.bottom - r.top) * 10));
  EXPECT_EQ(testsupport::ReadSetting(L"Width"), std::to_wstring((r.right - r.left) * 10));
  EXPECT_FALSE(TrayIconShown(tray));
}

}  // namespace
