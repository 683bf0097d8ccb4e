#include "shell/help.h"

#include <gtest/gtest.h>

#include "doubles/fake_profile_files.h"
#include "doubles/fake_system.h"

namespace {

// Stands in for the HTML help viewer, which exists only on Windows.
class FakeHelpFiles final : public platform::HelpFiles {
 public:
  std::uintptr_t displayTopic(std::uintptr_t owner, const std::wstring& path) override {
    owners.push_back(owner);
    paths.push_back(path);
    return window;
  }
  std::vector<std::uintptr_t> owners;
  std::vector<std::wstring> paths;
  std::uintptr_t window = 0;
};

class ShowHelpFileTest : public ::testing::Test {
 protected:
  FakeHelpFiles help_;
  fakes::FakeUserInterface ui_;
  fakes::FakeProfileFiles profiles_;
  dravik::Language french_{profiles_,
                           fakes::WidePath(DRAVIK_SOURCE_DIR "/localization/languages/French.lng")};
};

TEST_F(ShowHelpFileTest, TheHelpFileLiesInTheProgramFolder) {
  EXPECT_EQ(dravik::HelpFilePath(L"C:\\Tools\\Dravik"), L"C:\\Tools\\Dravik\\draviktm.chm");
}

TEST_F(ShowHelpFileTest, AShownHelpWindowIsReturnedWithoutAMessage) {
  help_.window = 0x5150;
  EXPECT_EQ(dravik::ShowHelpFile(help_, ui_, french_, 0x77, L"C:\\P\\draviktm.chm"), 0x5150u);
  ASSERT_EQ(help_.paths.size(), 1u);
  EXPECT_EQ(help_.paths[0], L"C:\\P\\draviktm.chm");
  EXPECT_EQ(help_.owners[0], 0x77u);
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(ShowHelpFileTest, NoHelpWindowShowsTheMissingHelpMessageOfTheLanguage) {
  EXPECT_EQ(dravik::ShowHelpFile(help_, ui_, french_, 0x77, L"C:\\P\\draviktm.chm"), 0u);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, french_.main("75"));
  EXPECT_EQ(ui_.boxes[0].title, L"Aide introuvable");
  EXPECT_EQ(ui_.boxes[0].flags, 16u);
}

}  // namespace
