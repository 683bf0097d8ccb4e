// Measures what the status texts of one refresh tick cost when the program
// holds the language file's bytes once read (HeldProfileFiles), next to
// reading the file anew at each lookup. Run by hand:
//   bench_language_lookup.exe [ticks per block, 1000 by default; five blocks of each are run]
// It reads the built program's Language\Russian.lng, or the file given as the
// second argument.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "localization/held_profile_files.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"

namespace {

double WallMs() {
  LARGE_INTEGER now, frequency;
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring DefaultFile() {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  folder = folder.substr(0, folder.find_last_of(L'\\'));  // build\win64\tests
  folder = folder.substr(0, folder.find_last_of(L'\\'));
  return folder + L"\\program\\Language\\Russian.lng";
}

// The status texts of one tick: tasks, processor, used and available memory.
const char* const kTickKeys[] = {"74", "68", "70", "72"};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int ticks = argc > 1 ? std::max(1, _wtoi(argv[1])) : 1000;
  const std::wstring file = argc > 2 ? argv[2] : DefaultFile();
  platform::win32::Win32ProfileFiles profiles;
  dravik::HeldProfileFiles held(profiles);
  const dravik::Language fromFile(profiles, file), fromHeld(held, file);
  const std::string bytes = profiles.read(file);
  if (bytes.empty() || fromHeld.main("74").empty()) {
    std::fwprintf(stderr, L"cannot read %ls\n", file.c_str());
    return 2;
  }
  std::printf("file: %zu bytes; %d ticks of %zu lookups per block\n", bytes.size(), ticks,
              std::size(kTickKeys));
  std::size_t sink = 0;
  const auto time = [&](const dravik::Language& language) {
    const double start = WallMs();
    for (int t = 0; t < ticks; ++t) {
      for (const char* key : kTickKeys) sink += language.main(key).size();
    }
    return 1000.0 * (WallMs() - start) / ticks;
  };
  for (int block = 0; block < 5; ++block) {
    const double heldUs = time(fromHeld), readUs = time(fromFile);
    std::printf("block %d: bytes held %.1f us per tick, file read at each lookup %.1f us per tick\n",
                block + 1, heldUs, readUs);
  }
  return sink == 0 ? 1 : 0;
}
