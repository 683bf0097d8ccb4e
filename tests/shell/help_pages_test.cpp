// The help pages kept in the tree: the help project compiles every page, the
// contents list reaches every page, and no link points to a missing page.
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
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<std::string> Pages() {
  std::set<std::string> pages;
  for (const auto& entry : fs::directory_iterator(kHelpFolder)) {
    if (entry.path().extension() == ".html") pages.insert(entry.path().filename().string());
  }
  return pages;
}

std::set<std::string> Matches(const std::string& text, const std::regex& pattern) {
  std::set<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
    found.insert((*it)[1].str());
  }
  return found;
}

TEST(HelpPages, TheProjectCompilesEveryPageAndOpensAtTheFirst) {
  const std::string project = Contents(kHelpFolder / "draviktm.hhp");
  ASSERT_FALSE(project.empty());
  EXPECT_NE(project.find("Compiled file=draviktm.chm"), std::string::npos);
  EXPECT_NE(project.find("Default topic=index.html"), std::string::npos);
  const auto pages = Pages();
  EXPECT_GE(pages.size(), 9u);
  for (const auto& page : pages) {
    EXPECT_NE(project.find("\n" + page), std::string::npos) << page << " is not compiled";
  }
}

TEST(HelpPages, TheContentsReachEveryPageAndEveryLinkHasItsPage) {
  const auto pages = Pages();
  const auto listed =
      Matches(Contents(kHelpFolder / "toc.hhc"), std::regex(R"(name="Local" value="([^"]+)\")"));
  EXPECT_EQ(listed, pages);
  const std::regex link(R"(href="([^"#:]+)\")");
  for (const auto& page : pages) {
    for (const auto& target : Matches(Contents(kHelpFolder / page), link)) {
      EXPECT_TRUE(fs::exists(kHelpFolder / target)) << page << " links to " << target;
    }
  }
}

TEST(HelpPages, EveryTabAndTopicHasItsPage) {
  std::string all;
  for (const auto& page : Pages()) all += Contents(kHelpFolder / page);
  for (const char* topic : {"End Task", "Terminate Process", "File Properties", "Startup Type",
                            "Close Connection", "CharacterSet", "RunMinimized", "Heigth",
                            "notification area", "Check for updates"}) {
    EXPECT_NE(all.find(topic), std::string::npos) << topic;
  }
}

}  // namespace
