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

// The shell's prompt line, the second child after the icon.
HWND PromptOf(HWND dialog) { return ::GetWindow(::GetWindow(dialog, GW_CHILD), GW_HWNDNEXT); }

// Centring on the owner is the placement's test's.
TEST(RunDialog, TheSearchRestylesTheShellsDialog) {
  dravik::RunFileDialog(nullptr, nullptr, L"", L"", L"");  // the shell's own title and prompt
  ASSERT_NE(WaitForDialog(L"Run"), nullptr);
  dravik::RunDialogRequest request;
  request.icon = reinterpret_cast<std::uintptr_t>(::LoadIconW(nullptr, IDI_WARNING));
  request.title = L"Ausführen";
  request.prompt = L"Programm eingeben";
  dravik::StartRunDialogSearch(request);
  const HWND dialog = WaitForDialog(L"Ausführen");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dravik::StoredRunDialogRequest().timerId, 0u);  // found: the search ended
  EXPECT_EQ(::SendMessageW(::GetWindow(dialog, GW_CHILD), STM_GETIMAGE, IMAGE_ICON, 0),
            static_cast<LRESULT>(request.icon));
  EXPECT_EQ(WindowText(PromptOf(dialog)), L"Programm eingeben");
  CloseDialog(dialog);
}

// The DPI run starts this at 96, 120, 144 and 192 DPI; other runs at the
// prefix's own resolution. The toolbar's call, with each language's prompt:
// Wine takes the direct way, so this is the dialog every Wine user sees. That
// the call returns at once, the dialog's messages handled meanwhile, shows here too.
TEST(RunDialog, EveryTextFitsItsControlOnTheDirectWayInEveryLanguage) {
  testsupport::ExpectTheRunsDpi();
  platform::win32::Win32ProfileFiles profiles;
  for (const std::wstring name : {L"English", L"French", L"German", L"Russian"}) {
    const dravik::Language language(profiles, dravik::LanguageFilePath(testsupport::ProgramDir(), name));
    const std::wstring prompt = language.text("Main", "98");
    ASSERT_FALSE(prompt.empty()) << name;
    dravik::ShowRunDialog(nullptr, -1, -1, nullptr, L"Run", prompt);
    const HWND dialog = WaitForDialog(L"Run");
    ASSERT_NE(dialog, nullptr) << name;
    EXPECT_EQ(WindowText(PromptOf(dialog)), prompt) << name;
    testsupport::ExpectTextsFit(dialog, 3, name);
    CloseDialog(dialog);
  }
}

}  // namespace
