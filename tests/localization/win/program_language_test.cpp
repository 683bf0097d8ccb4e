// The real draviktm.exe started with the "Language" setting "Russian" shows
// the texts of Russian.lng decoded from code page 1251, read here without the
// program's own reader.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/win/test_support.h"

namespace {

std::wstring Russian(const char* key) {
  const std::wstring file = testsupport::ProgramDir() + L"\\Language\\Russian.lng";
  char bytes[356] = {};
  wchar_t text[356] = {};
  ::GetPrivateProfileStringA("Main", key, "", bytes, 355, std::string(file.begin(), file.end()).c_str());
  ::MultiByteToWideChar(1251, 0, bytes, -1, text, 356);
  return text;
}

// A column header of another process's list view, read through memory lent in that process.
std::wstring ColumnHeader(HANDLE process, HWND list, int column) {
  struct Remote {
    LVCOLUMNW column;
    wchar_t text[128];
  } local{};
  auto* remote = static_cast<Remote*>(::VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
  local.column.mask = LVCF_TEXT;
  local.column.pszText = remote->text;
  local.column.cchTextMax = 128;
  ::WriteProcessMemory(process, remote, &local, sizeof(local), nullptr);
  ::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(remote));
  ::ReadProcessMemory(process, remote, &local, sizeof(local), nullptr);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return local.text;
}

// Menus belong to their process under Wine: GetMenuStringW works only inside
// the program. So this small routine is copied into it and run there by a
// thread of its own; it calls nothing but the pointer it is handed (system
// DLLs lie at the same address in every process).
struct MenuRead {
  decltype(&::GetMenuStringW) getMenuString;
  HMENU menu;
  wchar_t text[3][64];
};
DWORD WINAPI ReadMenuBar(void* param) {
  auto* read = static_cast<MenuRead*>(param);
  for (UINT i = 0; i < 3; ++i) read->getMenuString(read->menu, i, read->text[i], 64, MF_BYPOSITION);
  return 0;
}

MenuRead MenuBarOf(HANDLE process, HWND window) {
  MenuRead local{&::GetMenuStringW, ::GetMenu(window), {}};
  const auto remote = ::VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_EXECUTE_READWRITE);
  const auto code = static_cast<char*>(remote) + 1024;
  ::WriteProcessMemory(process, remote, &local, sizeof(local), nullptr);
  ::WriteProcessMemory(process, code, reinterpret_cast<const void*>(&ReadMenuBar), 512, nullptr);
  const platform::win32::UniqueKernelHandle thread(::CreateRemoteThread(
      process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(code), remote, 0, nullptr));
  if (thread && ::WaitForSingleObject(thread.get(), 5000) == WAIT_OBJECT_0) {
    ::ReadProcessMemory(process, remote, &local, sizeof(local), nullptr);
  }
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return local;
}

TEST(ProgramLanguage, WithRussianStoredTheMenusAndColumnHeadersAreRussian) {
  testsupport::RegistryGuard guard(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravik Task Manager", {L"Language"});  // put back even when the test fails
  testsupport::WriteSetting(L"Language", L"Russian");
  ASSERT_EQ(Russian("1"), L"Файл");  // the file is what the test thinks it is
  testsupport::ChildProcess program = testsupport::Start(testsupport::ProgramPath());
  HWND main = nullptr;
  ASSERT_TRUE(testsupport::WaitFor([&] {
    for (HWND w : testsupport::WindowsOf(program.pid(), L"DravikTaskManagerMain")) main = w;
    return main && ::IsWindowVisible(main);
  })) << "the program showed no main window";

  ASSERT_NE(::GetMenu(main), nullptr);
  const MenuRead bar = MenuBarOf(program.handle(), main);
  const char* menuKeys[] = {"1", "3", "6"};  // File, View, Help
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bar.text[i], Russian(menuKeys[i])) << "menu " << i;
  HWND tasks = nullptr;  // the first list, control id 10
  ::EnumChildWindows(main, [](HWND w, LPARAM found) {
    return ::GetDlgCtrlID(w) == 10 ? (*reinterpret_cast<HWND*>(found) = w, FALSE) : TRUE;
  }, reinterpret_cast<LPARAM>(&tasks));
  ASSERT_NE(tasks, nullptr);
  const std::pair<int, const char*> columns[] = {{0, "37"}, {1, "38"}, {3, "39"}};  // Task, Status, PID
  for (const auto& [column, key] : columns) {
    EXPECT_EQ(ColumnHeader(program.handle(), tasks, column), Russian(key)) << "column " << column;
  }
  program.kill();
}

}  // namespace
