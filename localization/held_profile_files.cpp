#include "localization/held_profile_files.h"

namespace dravik {

std::string HeldProfileFiles::read(const std::wstring& file) {
  auto found = held_.find(file);
  if (found == held_.end()) found = held_.emplace(file, files_.read(file)).first;
  return found->second;
}

}  // namespace dravik
