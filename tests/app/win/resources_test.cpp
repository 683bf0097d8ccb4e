// What the built program carries inside: its manifest, read from draviktm.exe
// mapped as an image. (What it imports is checked by the release script.)
#include <windows.h>

#include <gtest/gtest.h>

#include "support/win/test_support.h"

namespace {

TEST(ProgramResources, ManifestAsksForAdministratorCommonControls6AndSystemDpiWithoutSupportedSystems) {
  HMODULE module = ::LoadLibraryExW(testsupport::ProgramPath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr) << "cannot map draviktm.exe, error " << ::GetLastError();
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
  const void* data = found ? ::LockResource(::LoadResource(module, found)) : nullptr;
  ASSERT_NE(data, nullptr) << "no manifest with id 1";
  std::string manifest(static_cast<const char*>(data), ::SizeofResource(module, found));
  ::FreeLibrary(module);
  // Comments may well talk about what is left out.
  for (size_t at = manifest.find("<!--"); at != std::string::npos; at = manifest.find("<!--", at)) {
    manifest.erase(at, manifest.find("-->", at) + 3 - at);
  }
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  const size_t controls = manifest.find("\"Microsoft.Windows.Common-Controls\"");
  ASSERT_NE(controls, std::string::npos);
  const std::string tag = manifest.substr(manifest.rfind('<', controls), manifest.find('>', controls) - manifest.rfind('<', controls));
  EXPECT_NE(tag.find("version=\"6.0.0.0\""), std::string::npos) << tag;
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
  // A supportedOS entry would make newer systems report their real version to the start-up check.
  EXPECT_EQ(manifest.find("supportedOS"), std::string::npos);
}

}  // namespace
