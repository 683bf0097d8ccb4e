// The real draviktm.exe, copied into a folder of its own beside a DLL that
// writes a marker "<name>-<pid>.txt" when loaded, left there under the names of
// the system DLLs the program uses that are not Known DLLs. Wine is told to
// search for those names as Windows does (the program's folder first), so a
// program that loaded them by name alone would leave a marker. It works through
// every tab, About, its help and an update check, and leaves none.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/main_commands.h"
#include "support/win/loopback_server.h"
#include "support/win/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::WaitFor;

// Wine's override names: ".dll" is implied.
constexpr const wchar_t* kPlanted[] = {L"pdh", L"winhttp", L"iphlpapi", L"psapi", L"vdmdbg", L"hhctrl.ocx"};

// Native first for the planted names, in Wine's overrides for this one program:
// a program started by a Wine program gets its parent's Unix environment, not
// the block handed to CreateProcess, so WINEDLLOVERRIDES would not reach it.
constexpr wchar_t kOverrides[] = L"Software\\Wine\\AppDefaults\\draviktm.exe\\DllOverrides";

// The markers left by the process `pid`.
std::wstring MarkersOf(const fs::path& markers, DWORD pid) {
  std::wstring found;
  const std::wstring suffix = L"-" + std::to_wstring(pid) + L".txt";
  for (const auto& entry : fs::directory_iterator(markers)) {
    if (entry.path().filename().wstring().ends_with(suffix)) found += L" " + entry.path().filename().wstring();
  }
  return found;
}

// A program that crashed (as one does that calls a planted DLL) leaves Wine's
// debugger waiting, which would hold the test runner's output open.
void EndProcessesStartedBy(DWORD parent) {
  const platform::win32::UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    const platform::win32::UniqueKernelHandle process(
        entry.th32ParentProcessID == parent ? ::OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID) : nullptr);
    if (process) ::TerminateProcess(process.get(), 99);
  }
}

HWND VisibleWindow(DWORD pid, const wchar_t* className, const std::wstring& title = L"") {
  for (HWND w : testsupport::WindowsOf(pid, className)) {
    if (::IsWindowVisible(w) && (title.empty() || testsupport::WindowText(w) == title)) return w;
  }
  return nullptr;
}

// A message that gives up after 5 s: a program that crashed into the debugger fails the test, not holds it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &result) ? result : -1;
}

void UseEveryPart(const testsupport::ChildProcess& child, const testsupport::LoopbackServer& server) {
  const DWORD pid = child.pid();
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = VisibleWindow(pid, L"DravikTaskManagerMain")) != nullptr; }, 20s));
  const auto send = [&](dravik::Command id) { ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(id), 0); };
  // Each tab through the tab strip, as a click would; every list fills.
  const HWND tabs = testsupport::Descendant(main, WC_TABCONTROLW, -1);
  for (int tab = 0; tab < 4; ++tab) {
    Ask(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab));
    const HWND list = testsupport::Descendant(main, WC_LISTVIEWW, 10 + tab);
    EXPECT_TRUE(WaitFor([&] { return Ask(list, LVM_GETITEMCOUNT) > 0; }, 20s)) << "list " << tab << " stayed empty";
  }
  HWND window = nullptr;
  send(dravik::Command::About);
  EXPECT_TRUE(WaitFor([&] { return (window = VisibleWindow(pid, L"DravikAboutBox")) != nullptr; })) << "no About";
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  send(dravik::Command::HelpFile);
  EXPECT_TRUE(WaitFor([&] { return (window = VisibleWindow(pid, nullptr, L"Dravik Task Manager Help")) != nullptr; }, 20s))
      << "no help";
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  send(dravik::Command::CheckForUpdates);
  EXPECT_TRUE(WaitFor([&] { return (window = testsupport::FindMessageBox(pid).window) != nullptr; }, 20s))
      << "the update check showed nothing";
  EXPECT_FALSE(server.requests().empty()) << "the update check never reached the server";
  ::PostMessageW(window, WM_COMMAND, IDNO, 0);
  EXPECT_TRUE(WaitFor([&] { return testsupport::FindMessageBox(pid).window == nullptr; }));
  send(dravik::Command::Exit);
  ASSERT_TRUE(child.waitForExit(15000)) << "File > Exit did not end the program";
}

TEST(DllPlanting, TheProgramLoadsNoDllLeftInItsFolderAndStillWorks) {
  const fs::path folder = testsupport::TestDir() + L"\\dll-planting", markers = folder / L"markers";
  const fs::path planted = testsupport::TestDir() + L"\\planted_library.dll";
  std::error_code error;
  fs::remove_all(folder, error);
  fs::copy(testsupport::ProgramDir(), folder, fs::copy_options::recursive, error);
  ASSERT_FALSE(error) << "could not copy the program folder";
  ASSERT_TRUE(fs::create_directory(markers));
  for (const wchar_t* name : kPlanted) {
    const std::wstring file = std::wstring(name).find(L'.') == std::wstring::npos ? name + std::wstring(L".dll") : name;
    ASSERT_TRUE(fs::copy_file(planted, folder / file));
  }
  auto task = testsupport::Start(testsupport::TestDir() + L"\\task_windows_helper.exe", L"Errand 1");  // for the Tasks list
  ::SetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", markers.c_str());
  // The planted DLL does what the test counts on: loaded here (under a name Wine has no DLL of its own for),
  // it leaves this process's marker.
  ASSERT_TRUE(fs::copy_file(planted, folder / L"planted_check.dll"));
  ::FreeLibrary(::LoadLibraryW((folder / L"planted_check.dll").c_str()));
  ASSERT_EQ(MarkersOf(markers, ::GetCurrentProcessId()), L" planted_check.dll-" + std::to_wstring(::GetCurrentProcessId()) + L".txt");

  testsupport::RegistryGuard settings{HKEY_LOCAL_MACHINE, testsupport::kSettingsKey,
                                      {L"Language", L"Heigth", L"Width", L"RunMinimized"}};
  testsupport::WriteSetting(L"Language", L"English");
  testsupport::DeleteRegistryValue(HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, L"RunMinimized");
  // Wine's WinHTTP takes its default proxy from http_proxy: the update file comes from this server.
  testsupport::LoopbackServer server("2.2");
  ::SetEnvironmentVariableW(L"http_proxy", server.site.c_str());
  testsupport::RegistryGuard overrides{HKEY_CURRENT_USER, kOverrides, {std::begin(kPlanted), std::end(kPlanted)}};
  for (const wchar_t* name : kPlanted) {
    ASSERT_EQ(testsupport::SetRegistryValue(HKEY_CURRENT_USER, kOverrides, name, REG_SZ, L"native,builtin", sizeof(L"native,builtin")), 0);
  }
  DWORD pid = 0;
  {
    // Started in its own folder, so the current folder is the planted one too.
    auto child = testsupport::Start((folder / L"draviktm.exe").wstring(), L"", folder.wstring());
    pid = child.pid();
    ::SetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", nullptr);
    ::SetEnvironmentVariableW(L"http_proxy", nullptr);
    ASSERT_TRUE(child.running()) << "the copied program did not start";
    UseEveryPart(child, server);
    EndProcessesStartedBy(pid);
  }  // a program still running is ended here, before its markers are read
  const std::wstring loaded = MarkersOf(markers, pid);
  EXPECT_TRUE(loaded.empty()) << "the program loaded planted DLLs:" << std::string(loaded.begin(), loaded.end());
  if (!HasFailure()) fs::remove_all(folder, error);
}

}  // namespace
