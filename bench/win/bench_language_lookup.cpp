// Measures what the texts of one refresh tick cost when each lookup reads the
// language file anew (as the program does), next to a lookup in the same
// bytes held in memory (what keeping the file would cost). Run by hand:
//   bench_language_lookup.exe [ticks per block, 1000 by default; five blocks of each are run]
// It reads the built program's Language\Russian.lng, or the file given as the
// second argument.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "localization/profile_reader.h"
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
  const dravik::Language language(profiles, file);
  const std::string held = profiles.read(file);
  if (held.empty() || language.main("74").empty()) {
    std::fwprintf(stderr, L"cannot read %ls\n", file.c_str());
    return 2;
  }
  std::printf("file: %zu bytes; ms per %d ticks of %zu lookups\n", held.size(), ticks,
              std::size(kTickKeys));
  std::size_t sink = 0;
  for (int block = 0; block < 5; ++block) {
    double start = WallMs();
    for (int t = 0; t < ticks; ++t) {
      for (const char* key : kTickKeys) sink += language.main(key).size();
    }
    const double fromFile = WallMs() - start;
    start = WallMs();
    for (int t = 0; t < ticks; ++t) {
      for (const char* key : kTickKeys) {
        const std::string bytes = dravik::LookupProfileValue(held, "Main", key, "", dravik::kReadIniBufferBytes);
        sink += profiles.decode(1251, bytes).size();
      }
    }
    const double fromMemory = WallMs() - start;
    std::printf("block %d: file read at each lookup %.1f ms, bytes held in memory %.1f ms (%.1f us per tick against %.1f)\n",
                block + 1, fromFile, fromMemory, 1000.0 * fromFile / ticks, 1000.0 * fromMemory / ticks);
  }
  return sink == 0 ? 1 : 0;
}
