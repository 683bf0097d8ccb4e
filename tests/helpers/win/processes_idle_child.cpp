// A process that does nothing for a while, for the process-list tests and the
// refresh benchmark to list and end. Argument: seconds to live (default 120),
// so that a test that dies early leaves nothing running for long.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  DWORD seconds = 120;
  if (argc > 1) seconds = static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10));
  ::Sleep(seconds * 1000);
  return 0;
}
