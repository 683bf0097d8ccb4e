// The real draviktm.exe, copied into a folder of its own next to a DLL left
// there under the names of the system DLLs it uses that Windows does not
// protect as Known DLLs. Wine is told to search for those names as Windows
// does (the program's folder first), so a program that looked for them by
// name alone would load the planted DLL, which writes a marker naming the
// process that loaded it. The program works through every tab, its About
// box, its help and an update check, and no marker may name it.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_commands.h"
#include "support/win/loopback_server.h"
#include "support/win/test_support.h"

namespace {

using namespace std::chrono_literals;
using testsupport::Descendant;
using testsupport::WaitFor;

constexpr const wchar_t* kPlantedNames[] = {L"pdh.dll",   L"winhttp.dll", L"iphlpapi.dll",
                                             L"psapi.dll", L"vdmdbg.dll",  L"hhctrl.ocx"};
// Wine's names for the planted DLLs in its override lists: ".dll" is implied.
constexpr const wchar_t* kOverrideNames[] = {L"pdh", L"winhttp", L"iphlpapi", L"psapi", L"vdmdbg", L"hhctrl.ocx"};

// Makes Wine look for the planted names as Windows does for a DLL that is not
// a Known DLL: native first, so the program's folder is searched before the
// built-in copy is used. WINEDLLOVERRIDES would say the same, but a program
// started by a Wine program gets its parent's Unix environment, not the block
// handed to CreateProcess, so the setting goes where Wine keeps overrides for
// one program (its AppDefaults key), and goes away with this owner.
struct NativeFirst {
  const std::wstring key = L"Software\\Wine\\AppDefaults\\draviktm.exe";
  bool ok = true;
  NativeFirst() {
    for (const wchar_t* name : kOverrideNames) {
      ok = ok && testsupport::SetRegistryValue(HKEY_CURRENT_USER, key + L"\\DllOverrides", name, REG_SZ,
                                               L"native,builtin", sizeof(L"native,builtin")) == ERROR_SUCCESS;
    }
  }
  ~NativeFirst() { ::SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str()); }
};

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
  return text;
}

// A whole folder copied or removed by the shell (paths end in two NULs).
bool FolderOperation(UINT operation, const std::wstring& from, const std::wstring& to = L"") {
  const std::wstring source = from + L'\0', target = to + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = operation;
  op.pFrom = source.c_str();
  op.pTo = to.empty() ? nullptr : target.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
  return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

// name -> the process named inside, for every marker in the folder.
std::vector<std::pair<std::wstring, std::wstring>> Markers(const std::wstring& folder) {
  std::vector<std::pair<std::wstring, std::wstring>> markers;
  WIN32_FIND_DATAW found;
  const platform::win32::UniqueFindHandle find(::FindFirstFileW((folder + L"\\*.txt").c_str(), &found));
  if (!find) return markers;
  do {
    const platform::win32::UniqueKernelHandle file(::CreateFileW((folder + L"\\" + found.cFileName).c_str(),
        GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    wchar_t text[MAX_PATH] = {};
    DWORD read = 0;
    if (file) ::ReadFile(file.get(), text, sizeof(text) - sizeof(wchar_t), &read, nullptr);
    markers.emplace_back(found.cFileName, std::wstring(text, read / sizeof(wchar_t)));
  } while (::FindNextFileW(find.get(), &found));
  return markers;
}

// Ends what `parent` started: a program that crashed (as one does that calls
// a planted DLL) leaves Wine's debugger waiting, which would hold the test
// runner's output open.
void EndProcessesStartedBy(DWORD parent) {
  const platform::win32::UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID != parent) continue;
    const platform::win32::UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (process) ::TerminateProcess(process.get(), 99);
  }
}

HWND VisibleWindow(DWORD pid, const wchar_t* className, const std::wstring& title = L"") {
  for (HWND w : testsupport::WindowsOf(pid, className)) {
    if (::IsWindowVisible(w) && (title.empty() || testsupport::WindowText(w) == title)) return w;
  }
  return nullptr;
}

void Send(HWND main, dravik::Command id) {
  ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

// A message to the program that gives up after 5 s: one that crashed into
// the debugger must fail the test, not hold it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &result) ? result : -1;
}

// Every tab, About, the help and an update check, as the user would.
void UseEveryPart(const testsupport::ChildProcess& child, const testsupport::LoopbackServer& server) {
  const DWORD pid = child.pid();
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = VisibleWindow(pid, L"DravikTaskManagerMain")) != nullptr; }, 20s))
      << "the program showed no main window";

  // Each tab in turn, through the tab strip as a click would; every list fills.
  const HWND tabs = Descendant(main, WC_TABCONTROLW, -1);
  ASSERT_NE(tabs, nullptr);
  const wchar_t* tabNames[] = {L"Tasks", L"Processes", L"Services", L"Network"};
  for (int tab = 0; tab < 4; ++tab) {
    Ask(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab));
    const HWND list = Descendant(main, WC_LISTVIEWW, 10 + tab);
    ASSERT_NE(list, nullptr) << tabNames[tab];
    EXPECT_TRUE(WaitFor([&] { return Ask(list, LVM_GETITEMCOUNT) > 0; }, 20s))
        << "the " << tabNames[tab] << " list stayed empty";
  }

  Send(main, dravik::Command::About);
  HWND about = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (about = VisibleWindow(pid, L"DravikAboutBox")) != nullptr; }))
      << "About did not open";
  if (about) ::PostMessageW(about, WM_CLOSE, 0, 0);

  Send(main, dravik::Command::HelpFile);
  HWND help = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (help = VisibleWindow(pid, nullptr, L"Dravik Task Manager Help")) != nullptr; }, 20s))
      << "the help did not open";
  if (help) ::PostMessageW(help, WM_CLOSE, 0, 0);

  Send(main, dravik::Command::CheckForUpdates);
  testsupport::MessageBoxInfo box;
  EXPECT_TRUE(WaitFor([&] { return (box = testsupport::FindMessageBox(pid)).window != nullptr; }, 20s))
      << "the update check showed nothing";
  const auto requests = server.requests();
  ASSERT_FALSE(requests.empty()) << "the update check never reached the server";
  EXPECT_NE(requests[0].find("/draviktm_free.txt HTTP/1.1"), std::string::npos) << requests[0];
  if (box.window) {
    EXPECT_EQ(box.title, L"Dravik Task Manager");
    EXPECT_NE(box.text.find(L"2.2"), std::wstring::npos) << "the offer names the newer version";
    ::PostMessageW(box.window, WM_COMMAND, IDNO, 0);
  }

  EXPECT_TRUE(WaitFor([&] { return testsupport::FindMessageBox(pid).window == nullptr; }));
  Send(main, dravik::Command::Exit);
  ASSERT_TRUE(child.waitForExit(15000)) << "File > Exit did not end the program";
  EXPECT_EQ(child.exitCode(), 0u);
}

TEST(DllPlanting, TheProgramLoadsNoDllLeftInItsFolderAndStillWorks) {
  const std::wstring folder = testsupport::TestDir() + L"\\dll-planting";
  const std::wstring markers = folder + L"\\markers";
  const std::wstring planted = testsupport::TestDir() + L"\\planted_library.dll";
  FolderOperation(FO_DELETE, folder);
  ASSERT_TRUE(FolderOperation(FO_COPY, testsupport::ProgramDir(), folder)) << "could not copy the program folder";
  ASSERT_TRUE(::CreateDirectoryW(markers.c_str(), nullptr));
  for (const wchar_t* name : kPlantedNames) {
    ASSERT_TRUE(::CopyFileW(planted.c_str(), (folder + L"\\" + name).c_str(), FALSE));
  }

  // The planted DLL does what the test counts on: once loaded, it names the loader.
  ::SetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", markers.c_str());
  const std::wstring check = folder + L"\\planted_check.dll";
  ASSERT_TRUE(::CopyFileW(planted.c_str(), check.c_str(), FALSE));
  HMODULE loaded = ::LoadLibraryW(check.c_str());
  ASSERT_NE(loaded, nullptr);
  ::FreeLibrary(loaded);
  ::SetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", nullptr);
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const auto checked = Markers(markers);
  ASSERT_EQ(checked.size(), 1u) << "the planted DLL wrote no marker";
  EXPECT_EQ(Lower(checked[0].first.substr(0, 18)), L"planted_check.dll-");
  EXPECT_EQ(Lower(checked[0].second), Lower(self));
  ::DeleteFileW((markers + L"\\" + checked[0].first).c_str());

  testsupport::RegistryGuard settings{HKEY_LOCAL_MACHINE, testsupport::kSettingsKey,
                                      {L"Language", L"Heigth", L"Width", L"RunMinimized"}};
  testsupport::WriteSetting(L"Language", L"English");
  testsupport::DeleteRegistryValue(HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, L"RunMinimized");
  // Wine's WinHTTP takes its default proxy from http_proxy: the update file
  // the program asks its web site for comes from this server.
  testsupport::LoopbackServer server("2.2");
  // A task window for the Tasks list.
  auto task = testsupport::Start(testsupport::TestDir() + L"\\task_windows_helper.exe", L"Errand 1");
  ASSERT_TRUE(WaitFor([&] { return VisibleWindow(task.pid(), nullptr, L"Errand 1") != nullptr; }))
      << "the task window did not open";
  const std::wstring program = folder + L"\\draviktm.exe";
  const NativeFirst overrides;
  ASSERT_TRUE(overrides.ok);
  {
    ::SetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", markers.c_str());
    ::SetEnvironmentVariableW(L"http_proxy", server.site.c_str());
    // Started in its own folder, so the current folder is the planted one too;
    // it inherits this environment: the markers' folder and the proxy.
    auto child = testsupport::Start(program, L"", folder);
    ::SetEnvironmentVariableW(L"DRAVIK_DLL_MARKERS", nullptr);
    ::SetEnvironmentVariableW(L"http_proxy", nullptr);
    ASSERT_TRUE(child.running()) << "the copied program did not start";
    UseEveryPart(child, server);
    EndProcessesStartedBy(child.pid());
  }  // a program still running is ended here, before its markers are read

  std::wstring loadedByProgram;
  for (const auto& [name, process] : Markers(markers)) {
    const std::wstring path = Lower(process);
    if (path.size() >= 13 && path.substr(path.size() - 13) == L"\\draviktm.exe") loadedByProgram += L" " + name;
  }
  EXPECT_TRUE(loadedByProgram.empty()) << "the program loaded planted DLLs:"
                                       << std::string(loadedByProgram.begin(), loadedByProgram.end());
  if (!HasFailure()) FolderOperation(FO_DELETE, folder);
}

}  // namespace
