// The shell's Run dialog under Wine, which opens it with RunFileDlg (export 61)
// as a modal dialog of the calling thread; its "Shell.Application" FileRun is
// not implemented, so ShowRunDialog takes the direct way there.
#include <gtest/gtest.h>

#include "shell/win/run_file_dialog.h"
#include "support/win/test_support.h"
#include "support/win/ui_test_support.h"

namespace {

using namespace std::chrono_literals;
using testsupport::WindowText;

HWND FindDialog(const wchar_t* title) {
  for (HWND window : testsupport::WindowsOf(::GetCurrentProcessId(), L"#32770")) {
    if (::IsWindowVisible(window) && WindowText(window) == title) return window;
  }
  return nullptr;
}

std::vector<std::wstring> ChildTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(WindowText(child));
  }
  return texts;
}

void CloseDialog(HWND dialog) {
  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  testsupport::PumpUntil([&] { return !::IsWindow(dialog); }, 5s);
}

// A plain top-level window for the dialog to be centred on.
class OwnerWindow {
 public:
  OwnerWindow() {
    window_ = ::CreateWindowExW(0, L"STATIC", L"Dravik owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                101, 73, 601, 401, nullptr, nullptr, nullptr, nullptr);
  }
  ~OwnerWindow() { ::DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

TEST(RunDialog, OpensWithTheProgramsTitleAndPromptWithoutBlockingTheCaller) {
  OwnerWindow owner;
  const HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
  dravik::ShowRunDialog(owner.get(), -1, -1, icon, L"Dravik Run", L"Type a program to start.");
  // ShowRunDialog returned: this thread keeps handling its messages meanwhile.
  HWND dialog = nullptr;
  ASSERT_TRUE(
      testsupport::PumpUntil([&] { return (dialog = FindDialog(L"Dravik Run")) != nullptr; }, 10s));
  const auto texts = ChildTexts(dialog);
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"Type a program to start."), texts.end());
  EXPECT_EQ(dravik::StoredRunDialogRequest().title, L"Dravik Run");
  EXPECT_EQ(dravik::StoredRunDialogRequest().owner, reinterpret_cast<std::uintptr_t>(owner.get()));
  CloseDialog(dialog);
}

TEST(RunDialog, TheSearchTimerRestylesAndCentresTheShellsDialog) {
  OwnerWindow owner;
  // The shell's own dialog, with its own title "Run" and prompt.
  dravik::RunFileDialog(nullptr, nullptr, L"", L"", L"");
  HWND shellDialog = nullptr;
  ASSERT_TRUE(
      testsupport::PumpUntil([&] { return (shellDialog = FindDialog(L"Run")) != nullptr; }, 10s));

  dravik::RunDialogRequest request;
  request.owner = reinterpret_cast<std::uintptr_t>(owner.get());
  request.icon = reinterpret_cast<std::uintptr_t>(::LoadIconW(nullptr, IDI_WARNING));
  request.title = L"Ausf\u00fchren";
  request.prompt = L"Programm eingeben";
  dravik::StartRunDialogSearch(request);
  HWND dialog = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] { return (dialog = FindDialog(L"Ausf\u00fchren")) != nullptr; }, 5s));
  EXPECT_EQ(dialog, shellDialog);
  EXPECT_EQ(dravik::StoredRunDialogRequest().timerId, 0u);
  EXPECT_EQ(dravik::StoredRunDialogRequest().retries, 0);

  const HWND iconControl = ::GetWindow(dialog, GW_CHILD);
  EXPECT_EQ(::SendMessageW(iconControl, STM_GETIMAGE, IMAGE_ICON, 0),
            static_cast<LRESULT>(request.icon));
  EXPECT_EQ(WindowText(::GetWindow(iconControl, GW_HWNDNEXT)), L"Programm eingeben");

  RECT dialogRect{}, ownerRect{};
  ::GetWindowRect(dialog, &dialogRect);
  ::GetWindowRect(owner.get(), &ownerRect);
  const int width = dialogRect.right - dialogRect.left;
  const int height = dialogRect.bottom - dialogRect.top;
  EXPECT_EQ(dialogRect.left, ownerRect.left + (ownerRect.right - ownerRect.left) / 2 - width / 2);
  EXPECT_EQ(dialogRect.top, ownerRect.top + (ownerRect.bottom - ownerRect.top) / 2 - height / 2);
  EXPECT_TRUE(::IsWindowVisible(dialog));
  CloseDialog(dialog);
}

TEST(RunDialog, TheSearchGivesUpAfterTenTicksWithoutADialog) {
  ASSERT_EQ(::FindWindowW(nullptr, L"Run"), nullptr);
  dravik::RunDialogRequest request;
  request.title = L"Never shown";
  dravik::StartRunDialogSearch(request);
  EXPECT_NE(dravik::StoredRunDialogRequest().timerId, 0u);
  EXPECT_TRUE(
      testsupport::PumpUntil([] { return dravik::StoredRunDialogRequest().timerId == 0; }, 5s));
  EXPECT_EQ(dravik::StoredRunDialogRequest().retries, 0);
}

}  // namespace
