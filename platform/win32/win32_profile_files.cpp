#include "platform/win32/win32_profile_files.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace platform::win32 {

std::string Win32ProfileFiles::read(const std::wstring& file) {
  // Shared for writing and deleting too: a translator's editor holding the
  // file open must not blank the program's texts.
  const UniqueKernelHandle handle(::CreateFileW(
      file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return {};
  std::string bytes;
  char chunk[16 * 1024];
  DWORD got = 0;
  while (bytes.size() < kProfileFileMaxBytes &&
         ::ReadFile(handle.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  if (bytes.size() > kProfileFileMaxBytes) bytes.resize(kProfileFileMaxBytes);
  return bytes;
}

std::wstring Win32ProfileFiles::decode(unsigned codePage, std::string_view bytes) {
  return Widen(codePage, bytes);
}

unsigned Win32ProfileFiles::ansiCodePage() { return ::GetACP(); }

}  // namespace platform::win32
