// The help pages kept in the tree: the help project compiles every page, the
// contents list reaches every page, no link points to a missing page, and the
// manual covers each part of the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;
const fs::path kHelpFolder = fs::path(DRAVIK_SOURCE_DIR) / "shell" / "help";

std::string Contents(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::set<std::string> Matches(const std::string& text, const std::regex& pattern) {
  return {std::sregex_token_iterator(text.begin(), text.end(), pattern, 1), std::sregex_token_iterator()};
}

TEST(HelpPages, TheProjectAndContentsReachEveryPageAndEveryLinkAndTopicIsThere) {
  std::set<std::string> pages;
  std::string all;
  for (const auto& entry : fs::directory_iterator(kHelpFolder)) {
    if (entry.path().extension() != ".html") continue;
    pages.insert(entry.path().filename().string());
    all += Contents(entry.path());
    for (const auto& target : Matches(Contents(entry.path()), std::regex(R"(href="([^"#:]+)\")"))) {
      EXPECT_TRUE(fs::exists(kHelpFolder / target)) << entry.path() << " links to " << target;
    }
  }
  EXPECT_GE(pages.size(), 9u);
  const std::string project = Contents(kHelpFolder / "draviktm.hhp");
  for (const auto& page : pages) EXPECT_NE(project.find("\n" + page), std::string::npos) << page;
  EXPECT_EQ(Matches(Contents(kHelpFolder / "toc.hhc"), std::regex(R"(name="Local" value="([^"]+)\")")), pages);
  for (const char* topic : {"End Task", "Terminate Process", "File Properties", "Startup Type",
                            "Close Connection", "CharacterSet", "RunMinimized", "Heigth",
                            "notification area", "Check for updates"}) {
    EXPECT_NE(all.find(topic), std::string::npos) << topic;
  }
}

}  // namespace
