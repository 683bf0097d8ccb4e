// The real draviktm.exe from start to exit: at 144 DPI so the twips
// conversion must use the screen's own resolution, started minimized,
// driven from its tray icon's menu, the icon outliving a restart of the
// shell, and on malformed language files and stored sizes.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/main_commands.h"
#include "support/win/test_support.h"

namespace {

using testsupport::WaitFor;

// The shell accepts a change to an icon, or its removal, only while that icon is shown.
bool AskShell(DWORD message, HWND tray) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = tray;
  data.uID = 1;
  data.uFlags = NIF_TIP;
  return ::Shell_NotifyIconW(message, &data) != FALSE;
}
bool TrayIconShown(HWND tray) { return AskShell(NIM_MODIFY, tray); }

// Starts the program and waits for its main and tray windows and its icon.
testsupport::ChildProcess StartProgram(HWND& main, HWND& tray) {
  auto program = testsupport::Start(testsupport::ProgramPath());
  const bool started = WaitFor([&] {
    const auto mains = testsupport::WindowsOf(program.pid(), L"DravikTaskManagerMain");
    const auto trays = testsupport::WindowsOf(program.pid(), L"DravikTaskManagerTray");
    main = mains.empty() ? nullptr : mains[0];
    tray = trays.empty() ? nullptr : trays[0];
    return main && tray && TrayIconShown(tray);
  });
  EXPECT_TRUE(started) << "the program showed no tray icon";
  return program;
}

// A right-click on the icon, then `key` and Enter in the menu it opens: the
// menu's own keyboard handling, as a user would choose (Open, separator, Exit).
void ChooseInTrayMenu(DWORD pid, HWND tray, WPARAM key) {
  ::PostMessageW(tray, WM_APP + 1, 1, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND w : testsupport::WindowsOf(pid, L"#32768")) {
      if (::IsWindowVisible(w)) menu = w;
    }
    return menu != nullptr;
  })) << "a right-click on the tray icon opened no menu";
  ::PostMessageW(menu, WM_KEYDOWN, key, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

class Program : public ::testing::Test {
 protected:
  Program() {
    for (const wchar_t* name : kNames) testsupport::DeleteRegistryValue(HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, name);
  }
  static constexpr const wchar_t* kNames[] = {L"Language", L"Heigth", L"Width", L"RunMinimized"};
  testsupport::RegistryGuard settings_{HKEY_LOCAL_MACHINE, testsupport::kSettingsKey,
                                       {std::begin(kNames), std::end(kNames)}};
};

TEST_F(Program, RunsOnceHidesOnCloseStaysInTheTrayAndSavesItsSizeOnExit) {
  // The resolution Wine gives the programs it starts from now on.
  testsupport::RegistryGuard resolution{HKEY_CURRENT_USER, L"Control Panel\\Desktop", {L"LogPixels"}};
  const DWORD dpi = 144;
  testsupport::SetRegistryValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));

  HWND main = nullptr, tray = nullptr;
  auto program = StartProgram(main, tray);
  ASSERT_TRUE(main && WaitFor([&] { return ::IsWindowVisible(main) != FALSE; })) << "no main window shown";
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
  // (Whether the icon went is not asked: Wine's shell drops a gone window's icons itself.)
  ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(dravik::Command::Exit), 0);
  ASSERT_TRUE(program.waitForExit(10000)) << "File > Exit did not end the program";
  EXPECT_EQ(program.exitCode(), 0u);
  EXPECT_EQ(testsupport::ReadSetting(L"Heigth"), std::to_wstring((r.bottom - r.top) * 10));
  EXPECT_EQ(testsupport::ReadSetting(L"Width"), std::to_wstring((r.right - r.left) * 10));
}

TEST_F(Program, StartedMinimizedLivesInTheTrayWhoseIconOutlivesTheShellAndWhoseMenuOpensAndEndsIt) {
  testsupport::WriteSetting(L"RunMinimized", L"True");
  HWND main = nullptr, tray = nullptr;
  auto program = StartProgram(main, tray);
  ASSERT_NE(main, nullptr);
  // The window shows itself while it loads, then only the icon is left.
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); }));
  ::Sleep(1000);
  EXPECT_FALSE(::IsWindowVisible(main)) << "started minimized, the main window is shown";
  EXPECT_TRUE(TrayIconShown(tray));

  // The shell restarts: its icons are gone, then it tells every top-level
  // window so. Broadcast as the shell does, not sent to the tray window
  // alone, because a window the broadcast misses (a message-only one) would
  // pass a direct send; sent rather than posted so that every window has
  // handled it on return.
  ASSERT_TRUE(AskShell(NIM_DELETE, tray));
  ASSERT_FALSE(AskShell(NIM_DELETE, tray)) << "the shell kept the icon";
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &answer);
  EXPECT_TRUE(WaitFor([&] { return TrayIconShown(tray); })) << "no icon after \"TaskbarCreated\"";

  ChooseInTrayMenu(program.pid(), tray, VK_DOWN);  // the first item: Open
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; })) << "Open did not show the main window";
  EXPECT_TRUE(program.running());
  ChooseInTrayMenu(program.pid(), tray, VK_UP);  // the last item: Exit
  ASSERT_TRUE(program.waitForExit(10000)) << "the tray menu's Exit did not end the program";
  EXPECT_EQ(program.exitCode(), 0u);
}

// What a broken disk, a careless editor or a hand-edited registry may leave.
struct Malformed {
  const char* what;
  std::string language;  // the language file's bytes; the default language when empty
  const wchar_t* height = nullptr;  // stored "Heigth" and "Width"; none when null
  const wchar_t* width = nullptr;
};

std::string BinaryJunk() {
  std::string noise;
  unsigned seed = 16;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  return noise + "\r\n[Main]\r\n37=" + std::string(100000, 'W') + "\r\n" + noise;
}

bool IsWholeNumber(const std::optional<std::wstring>& text) {
  return text && !text->empty() && text->size() <= 9 && text->find_first_not_of(L"0123456789") == std::wstring::npos;
}

// Starts the program on `input`, asks it something, ends it from its menu.
void StartsAnswersAndSavesANumber(const Malformed& input) {
  constexpr wchar_t kName[] = L"ZzMalformedInput";
  const std::wstring file = testsupport::ProgramDir() + L"\\Language\\" + kName + L".lng";
  struct Removed {
    const std::wstring& path;
    ~Removed() { ::DeleteFileW(path.c_str()); }
  } removed{file};
  testsupport::DeleteRegistryValue(HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, L"Language");
  if (!input.language.empty()) {
    FILE* out = _wfopen(file.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(input.language.data(), 1, input.language.size(), out);
    std::fclose(out);
    testsupport::WriteSetting(L"Language", kName);
  }
  for (auto [name, value] : {std::pair{L"Heigth", input.height}, std::pair{L"Width", input.width}}) {
    if (value) testsupport::WriteSetting(name, value);
    else testsupport::DeleteRegistryValue(HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, name);
  }

  HWND main = nullptr, tray = nullptr;
  auto program = StartProgram(main, tray);
  ASSERT_TRUE(main && WaitFor([&] { return ::IsWindowVisible(main) != FALSE; })) << "no main window shown";
  DWORD_PTR answer = 0;
  EXPECT_TRUE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) << "the window does not answer";
  EXPECT_EQ(testsupport::FindMessageBox(program.pid()).window, nullptr) << "a message box came up";
  ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(dravik::Command::Exit), 0);
  ASSERT_TRUE(program.waitForExit(10000)) << "File > Exit did not end the program";
  EXPECT_EQ(program.exitCode(), 0u);
  EXPECT_TRUE(IsWholeNumber(testsupport::ReadSetting(L"Heigth"))) << testsupport::ReadSetting(L"Heigth").value_or(L"(none)");
  EXPECT_TRUE(IsWholeNumber(testsupport::ReadSetting(L"Width"))) << testsupport::ReadSetting(L"Width").value_or(L"(none)");
}

TEST_F(Program, StartsOnMalformedLanguageFilesAndSizes) {
  const Malformed inputs[] = {
      {"binary junk with a 100,000-character value", BinaryJunk()},
      {"no sections", "1=File\r\n37=Task\r\nCharacterSet=204\r\n"},
      {"unterminated section headers", "[LANGUAGE\r\nCharacterSet=204\r\n[Main\r\n37=Task\r\n"},
      {"CharacterSet abc", "[LANGUAGE]\r\nCharacterSet=abc\r\n[Main]\r\n37=Task\r\n"},
      {"CharacterSet -1", "[LANGUAGE]\r\nCharacterSet=-1\r\n[Main]\r\n37=Task\r\n"},
      {"CharacterSet 99999", "[LANGUAGE]\r\nCharacterSet=99999\r\n[Main]\r\n37=Task\r\n"},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n37=T\xC3\xA2\x63he\r\n"},
      {"sizes that are not numbers", "", L"tall", L"12.5e3"},
      {"negative sizes", "", L"-8820", L"-1"},
      {"sizes beyond 32 bits", "", L"4294967296", L"-99999999999999999999"},
  };
  for (const Malformed& input : inputs) {
    SCOPED_TRACE(input.what);
    StartsAnswersAndSavesANumber(input);
  }
}

}  // namespace
