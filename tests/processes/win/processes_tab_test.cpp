// The Processes tab in a stand-in main window under Wine, over the real
// instrumentation (queried on the tab's worker), shell and processes of the
// Wine prefix, and the process calls of the platform layer.
#include "processes/win/processes_tab.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include "doubles/fake_processes.h"
#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_process_query.h"
#include "platform/win32/win32_shell_files.h"
#include "support/win/process_test_window.h"

namespace {

using platform::PropertyValue;

std::wstring IdleChildPath() { return testsupport::TestDir() + L"\\processes_idle_child.exe"; }

// Handles messages until the rebuild asked for has shown.
bool Shown(dravik::ProcessesTab& tab) { return testsupport::PumpUntil([&] { return !tab.busy(); }); }

class ProcessesTabTest : public ::testing::Test {
 protected:
  processtest::TestWindow window_{14};
  platform::win32::Win32ShellFiles shell_;
  platform::win32::Win32ProcessControl control_;
  dravik::ProcessesTab tab_{window_.app, window_.list,
                            {[] { return std::make_unique<platform::win32::Win32ProcessQuery>(); }, shell_, control_},
                            platform::win32::UserGroupSeparator()};
};

TEST_F(ProcessesTabTest, AStartedProcessIsListedAndItsCommandsAskFirst) {
  auto child = testsupport::Start(IdleChildPath());
  ASSERT_TRUE(child.running());
  const std::wstring pid = std::to_wstring(child.pid());
  tab_.refresh();
  ASSERT_TRUE(Shown(tab_));
  int row = window_.rowWith(1, pid);
  ASSERT_GE(row, 0) << "pid " << pid << " not among " << window_.rows() << " rows";
  EXPECT_EQ(window_.cell(row, 0), L"processes_idle_child.exe");
  // Wine reports a working set of 0, no priority and no path.
  EXPECT_EQ(window_.cell(row, 2), L" KB");
  EXPECT_EQ(window_.cell(row, 3), L"");
  EXPECT_EQ(window_.cell(row, 4), L"Real time");
  EXPECT_EQ(window_.panels[1], (std::vector<std::wstring>{L"(" + std::to_wstring(window_.rows()) + L") Processes"}));
  EXPECT_TRUE(tab_.command(dravik::Command::TerminateProcess));  // nothing selected: nothing asked
  EXPECT_FALSE(tab_.command(dravik::Command::EndTask));         // not this page's command

  window_.select(row);
  {
    testsupport::MessageBoxAnswerer ok(IDOK);
    EXPECT_TRUE(tab_.command(dravik::Command::FileProperties));
    ASSERT_TRUE(ok.finish());
    EXPECT_EQ(ok.text(), L"Process path not found!");
    EXPECT_EQ(ok.title(), L"Process: processes_idle_child.exe");
  }
  LVITEMW mark{};  // a mark that a rebuild would wipe out
  mark.iSubItem = 5;
  mark.pszText = const_cast<wchar_t*>(L"not rebuilt");
  ::SendMessageW(window_.list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&mark));
  {
    testsupport::MessageBoxAnswerer no(IDNO);
    tab_.command(dravik::Command::TerminateProcess);
    ASSERT_TRUE(no.finish());
  }
  EXPECT_FALSE(child.waitForExit(500));
  EXPECT_EQ(window_.cell(row, 5), L"not rebuilt");

  testsupport::MessageBoxAnswerer yes(IDYES);
  tab_.command(dravik::Command::TerminateProcess);
  ASSERT_TRUE(yes.finish());
  EXPECT_EQ(yes.title(), L"Process: processes_idle_child.exe (PID: " + pid + L")");
  EXPECT_EQ(yes.text(), L"Are you sure you want to terminate this process?");
  EXPECT_TRUE(child.waitForExit(5000));
  EXPECT_EQ(child.exitCode(), 0u);
  ASSERT_TRUE(Shown(tab_));
  EXPECT_EQ(window_.panels[1].size(), 2u) << "the list was not rebuilt";
  EXPECT_EQ(window_.rowWith(1, pid), -1);
}

// Wine's instrumentation gives no paths: the query is a double here. The list
// and the shell are real; the empty path of a pathless process stands for a
// file the shell has an icon for.
class IconShell final : public platform::ShellFiles {
 public:
  platform::SystemIcon smallIcon(const std::wstring& path) override {
    return real_.smallIcon(path.empty() ? IdleChildPath() : path);
  }
  bool showProperties(const std::wstring&) override { return false; }
  platform::win32::Win32ShellFiles real_;
};

TEST_F(ProcessesTabTest, RowsGetShellIconsAndThePlaceholderWhenPathless) {
  fakes::FakeProcessQuery query;
  const auto process = [](const wchar_t* name, const std::wstring& path) {
    return std::map<std::wstring, PropertyValue>{{L"Caption", PropertyValue::Text(name)},
                                                 {L"ExecutablePath", PropertyValue::Text(path)}};
  };
  query.objects = {process(L"a.exe", IdleChildPath()), process(L"pathless", L""),
                   process(L"b.exe", IdleChildPath()), process(L"c.exe", L"C:\\no\\such.exe")};
  IconShell shell;
  dravik::ProcessesTab tab(window_.app, window_.list,
                          {[&query] { return std::make_unique<fakes::FakeProcessQuery>(query); }, shell, control_}, L",");
  tab.refresh();
  ASSERT_TRUE(Shown(tab));
  ASSERT_EQ(window_.rows(), 4);
  const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(window_.list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  // The placeholder, then one image for each row the shell had an icon for.
  EXPECT_EQ((std::vector<int>{window_.image(0), window_.image(1), window_.image(2), window_.image(3)}),
            (std::vector<int>{1, 0, 3, I_IMAGENONE}));
  EXPECT_EQ(::ImageList_GetImageCount(images), 4);
  tab.refresh();
  ASSERT_TRUE(Shown(tab));
  EXPECT_EQ(::ImageList_GetImageCount(images), 4);  // the images start over
}

TEST(FromVariant, EachTypeTheInstrumentationHandsOver) {
  const auto text = [](VARTYPE type, auto set, CIMTYPE cim) {
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = type;
    set(v);
    const std::wstring result = dravik::PropertyText(platform::win32::FromVariant(v, cim));
    ::VariantClear(&v);
    return result;
  };
  EXPECT_EQ(text(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = ::SysAllocString(L"5368709120"); }, CIM_UINT64),
            L"5368709120");
  EXPECT_EQ(text(VT_I4, [](VARIANT& v) { V_I4(&v) = -7; }, CIM_SINT32), L"-7");
  // An unsigned 32-bit property arrives in a signed VARIANT: it must not turn negative.
  EXPECT_EQ(text(VT_I4, [](VARIANT& v) { V_I4(&v) = static_cast<LONG>(3000000000u); }, CIM_UINT32), L"3000000000");
  EXPECT_EQ(text(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 4294967295u; }, CIM_UINT32), L"4294967295");
  EXPECT_EQ(text(VT_UI8, [](VARIANT& v) { V_UI8(&v) = 18446744073709551615ull; }, CIM_UINT64),
            L"18446744073709551615");
  VARIANT none;
  ::VariantInit(&none);
  EXPECT_EQ(platform::win32::FromVariant(none, CIM_STRING).kind, PropertyValue::Kind::Empty);
  V_VT(&none) = VT_NULL;
  EXPECT_EQ(platform::win32::FromVariant(none, CIM_UINT32).kind, PropertyValue::Kind::Null);
}

TEST_F(ProcessesTabTest, PrioritiesKillsAndThePropertiesSheetUnderWine) {
  // Id 0 names the process of a window: this test's own, as the program sets its own.
  EXPECT_EQ(dravik::SetProcessPriority(control_, 0, reinterpret_cast<std::uintptr_t>(window_.window),
                                       BELOW_NORMAL_PRIORITY_CLASS),
            static_cast<std::uint32_t>(BELOW_NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(::GetPriorityClass(::GetCurrentProcess()), static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
  ::SetPriorityClass(::GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  EXPECT_EQ(dravik::SetProcessPriority(control_, 0xFFFFFFF0u, 0, NORMAL_PRIORITY_CLASS), 0u);
  const HWND gone = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ::DestroyWindow(gone);  // a window that is gone names no process, not process 0
  EXPECT_EQ(dravik::SetProcessPriority(control_, 0, reinterpret_cast<std::uintptr_t>(gone), NORMAL_PRIORITY_CLASS), 0u);
  EXPECT_FALSE(dravik::KillProcessByIdNT(control_, 0xFFFFFFF0u));

  // Wine has no properties sheet: the shell reports the failure in a box of
  // its own, and the call returns. What the sheet is asked for is proved over
  // a double natively.
  testsupport::MessageBoxAnswerer ok(IDOK, nullptr, std::chrono::seconds(3));
  const bool shown = shell_.showProperties(IdleChildPath());
  EXPECT_NE(ok.finish(), shown) << "a failure must be reported, a success must not";
}

}  // namespace
