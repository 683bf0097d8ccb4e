#include "doubles/fake_system.h"

namespace fakes {

platform::SystemDirectoryResult FakeSystemInfo::systemDirectory(std::uint32_t bufferChars) {
  platform::SystemDirectoryResult result;
  result.buffer.assign(bufferChars, L'\0');
  if (systemFolder.size() < bufferChars) {
    result.buffer.replace(0, systemFolder.size(), systemFolder);
    result.length = static_cast<std::uint32_t>(systemFolder.size());
  } else {
    result.length = static_cast<std::uint32_t>(systemFolder.size() + 1);  // size needed
  }
  return result;
}

bool FakeFileSystem::copyFile(const std::wstring& from, const std::wstring& to) {
  copies.emplace_back(from, to);
  if (!files.count(from)) return false;
  files.insert(to);
  return true;
}

}  // namespace fakes
