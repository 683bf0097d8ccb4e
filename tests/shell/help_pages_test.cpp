// The help pages kept in the tree: the help project compiles every page, the
// contents list reaches every page, and no link points to a missing page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::set<std::string> Matches(const std::filesystem::path& file, const char* pattern) {
  std::stringstream contents;
  contents << std::ifstream(file, std::ios::binary).rdbuf();
  const std::string text = contents.str();
  const std::regex re(pattern);
  return {std::sregex_token_iterator(text.begin(), text.end(), re, 1), std::sregex_token_iterator()};
}

TEST(HelpPages, TheProjectAndTheContentsListEveryPageAndEveryLinkHasItsPage) {
  const auto folder = std::filesystem::path(DRAVIK_SOURCE_DIR) / "shell" / "help";
  std::set<std::string> pages;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".html") continue;
    pages.insert(entry.path().filename().string());
    for (const auto& target : Matches(entry.path(), R"(href="([^"#:]+)\")")) {
      EXPECT_TRUE(std::filesystem::exists(folder / target)) << entry.path() << " links to " << target;
    }
  }
  EXPECT_GE(pages.size(), 9u);
  EXPECT_EQ(Matches(folder / "draviktm.hhp", R"(\n([a-z]+\.html))"), pages);
  EXPECT_EQ(Matches(folder / "toc.hhc", R"(name="Local" value="([^"]+)\")"), pages);
}

}  // namespace
