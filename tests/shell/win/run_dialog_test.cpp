// The shell's Run dialog under Wine, which opens it with RunFileDlg (export 61)
// as a modal dialog of the calling thread; its "Shell.Application" FileRun is
// not implemented, so ShowRunDialog takes the direct way there.
#include <gtest/gtest.h>

#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"
#include "shell/win/run_file_dialog.h"
#include "support/win/ui_test_support.h"

namespace {

using namespace std::chrono_literals;
using testsupport::WindowText;

// Waits, handling messages, for a visible dialog of this process titled `title`.
HWND WaitForDialog(const wchar_t* title) {
  HWND found = nullptr;
  testsupport::PumpUntil([&] {
    for (HWND w : testsupport::WindowsOf(::GetCurrentProcessId(), L"#32770")) {
      if (::IsWindowVisible(w) && WindowText(w) == title) found = w;
    }
    return found != nullptr;
  }, 10s);
  return found;
}

void CloseDialog(HWND dialog) {
  ASSERT_NE(dialog, nullptr);
  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindow(dialog); }, 5s));
}

TEST(RunDialog, OpensWithoutBlockingAndTheSearchRestylesAndCentresTheShellsDialog) {
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 101,
                                       73, 601, 401, nullptr, nullptr, nullptr, nullptr);
  dravik::ShowRunDialog(owner, -1, -1, nullptr, L"Dravik Run", L"Type a program to start.");
  // ShowRunDialog returned: this thread handles the dialog's messages meanwhile.
  CloseDialog(WaitForDialog(L"Dravik Run"));
  dravik::RunFileDialog(nullptr, nullptr, L"", L"", L"");  // the shell's own title and prompt
  ASSERT_NE(WaitForDialog(L"Run"), nullptr);
  dravik::RunDialogRequest request;
  request.owner = reinterpret_cast<std::uintptr_t>(owner);
  request.icon = reinterpret_cast<std::uintptr_t>(::LoadIconW(nullptr, IDI_WARNING));
  request.title = L"Ausführen";
  request.prompt = L"Programm eingeben";
  dravik::StartRunDialogSearch(request);
  const HWND dialog = WaitForDialog(L"Ausführen");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dravik::StoredRunDialogRequest().timerId, 0u);  // found: the search ended
  const HWND iconControl = ::GetWindow(dialog, GW_CHILD);
  EXPECT_EQ(::SendMessageW(iconControl, STM_GETIMAGE, IMAGE_ICON, 0), static_cast<LRESULT>(request.icon));
  EXPECT_EQ(WindowText(::GetWindow(iconControl, GW_HWNDNEXT)), L"Programm eingeben");
  RECT d{}, o{};
  ::GetWindowRect(dialog, &d);
  ::GetWindowRect(owner, &o);
  EXPECT_EQ(d.left, o.left + (o.right - o.left) / 2 - (d.right - d.left) / 2);
  EXPECT_EQ(d.top, o.top + (o.bottom - o.top) / 2 - (d.bottom - d.top) / 2);
  CloseDialog(dialog);
  ::DestroyWindow(owner);
}

// The DPI run starts this at 96, 120, 144 and 192 DPI; other runs at the
// prefix's own resolution. The toolbar's call, with each language's prompt:
// Wine takes the direct way, so this is the dialog every Wine user sees.
TEST(RunDialog, EveryTextFitsItsControlOnTheDirectWayInEveryLanguage) {
  if (const int dpi = testsupport::ExpectedDpi()) {
    ASSERT_EQ(testsupport::ScreenDpi(), dpi) << "the screen resolution was not applied";
  }
  const int dpi = testsupport::ScreenDpi();
  platform::win32::Win32ProfileFiles profiles;
  for (const std::wstring name : {L"English", L"French", L"German", L"Russian"}) {
    const dravik::Language language(profiles, dravik::LanguageFilePath(testsupport::ProgramDir(), name));
    const std::wstring prompt = language.text("Main", "98");
    ASSERT_FALSE(prompt.empty()) << name;
    dravik::ShowRunDialog(nullptr, -1, -1, nullptr, L"Run", prompt);
    const HWND dialog = WaitForDialog(L"Run");
    ASSERT_NE(dialog, nullptr) << name;
    // The shell's prompt line, the second child after the icon, holds the language's text.
    EXPECT_EQ(WindowText(::GetWindow(::GetWindow(dialog, GW_CHILD), GW_HWNDNEXT)), prompt) << name;
    const auto fit = testsupport::CheckTextsFit(dialog);
    EXPECT_GE(fit.measured, 3);
    EXPECT_TRUE(fit.clipped.empty()) << fit.describe() << name << " at " << dpi << " DPI";
    CloseDialog(dialog);
  }
}

}  // namespace
