// The real draviktm.exe, started with a stored language, shows that file's
// column headers as the file's own code page spells them, whatever
// the system's code page is. ctest runs these tests again on code pages 1251
// and 932 (tests/CMakeLists.txt says how): on a double-byte code page the
// system's 8-bit profile calls merge and replace many Cyrillic bytes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/win/test_support.h"

namespace {

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

// A column header by list control id (10 tasks, 11 processes, 13 network) and
// 0-based column, as the language's file spells it in its own code page.
// Which key labels which menu is the main window's tests' concern; the
// decoding they share is shown here.
struct Header {
  int list;
  int column;
  const wchar_t* text;
};

void ExpectLanguageShown(const wchar_t* language, std::initializer_list<Header> headers) {
  // A run started for another code page says which, so that one that
  // silently fell back to 1252 cannot pass for 932.
  if (const char* wanted = std::getenv("DRAVIK_CODE_PAGE")) {
    ASSERT_EQ(::GetACP(), static_cast<UINT>(std::atoi(wanted))) << "the locale did not take";
  }
  SCOPED_TRACE(testing::Message() << "system code page " << ::GetACP());
  testsupport::RegistryGuard guard(HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, {L"Language"});
  testsupport::WriteSetting(L"Language", language);
  testsupport::ChildProcess program = testsupport::Start(testsupport::ProgramPath());
  HWND main = nullptr;
  ASSERT_TRUE(testsupport::WaitFor([&] {
    for (HWND w : testsupport::WindowsOf(program.pid(), L"DravikTaskManagerMain")) main = w;
    return main && ::IsWindowVisible(main);
  })) << "the program showed no main window";
  for (const Header& h : headers) {
    const HWND list = testsupport::Descendant(main, nullptr, h.list);
    ASSERT_NE(list, nullptr) << "list " << h.list;
    EXPECT_EQ(ColumnHeader(program.handle(), list, h.column), h.text) << "list " << h.list << " column " << h.column;
  }
}

TEST(ProgramLanguage, RussianFileShowsItsOwnSpelling) {
  ExpectLanguageShown(L"Russian", {{10, 0, L"Задача"}, {10, 1, L"Состояние"}, {13, 4, L"Удалённый адрес"}});
}

TEST(ProgramLanguage, GermanFileShowsItsOwnSpelling) {
  ExpectLanguageShown(L"German", {{11, 4, L"Priorität"}, {13, 2, L"Lokale Adresse"}});
}

}  // namespace
