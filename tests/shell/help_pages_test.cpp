// The help pages kept in the tree: the help project compiles every page, the
// contents list reaches every page, no link points to a missing page, and the
// words a page quotes from the screen are the English language file's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "localization/profile_reader.h"

namespace {

using ::testing::HasSubstr;

const std::filesystem::path kHelpFolder = std::filesystem::path(DRAVIK_SOURCE_DIR) / "shell" / "help";

std::string ReadFile(const std::filesystem::path& file) {
  std::stringstream contents;
  contents << std::ifstream(file, std::ios::binary).rdbuf();
  return contents.str();
}

std::set<std::string> Matches(const std::filesystem::path& file, const char* pattern) {
  const std::string text = ReadFile(file);
  const std::regex re(pattern);
  return {std::sregex_token_iterator(text.begin(), text.end(), re, 1), std::sregex_token_iterator()};
}

TEST(HelpPages, TheProjectAndTheContentsListEveryPageAndEveryLinkHasItsPage) {
  const auto& folder = kHelpFolder;
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

// The English texts of "Main" keys, in the order given, as the help lists them:
// "A, B, C".
std::string EnglishList(const std::vector<const char*>& keys) {
  const std::string english = ReadFile(std::filesystem::path(DRAVIK_SOURCE_DIR) / "localization" /
                                       "languages" / "English.lng");
  std::string list;
  for (const char* key : keys) {
    const std::string text = dravik::LookupProfileValue(english, "Main", key, "", 1024);
    EXPECT_FALSE(text.empty()) << "English.lng has no text for key " << key;
    list += (list.empty() ? "" : ", ") + text;
  }
  return list;
}

TEST(HelpPages, QuoteTheListStatesPanelNamesAndPrioritiesOfTheEnglishLanguageFile) {
  // Service states by state code 1 to 7: stopped, start pending, stop pending,
  // running, continue pending, pause pending, paused.
  const std::string services = ReadFile(kHelpFolder / "services.html");
  EXPECT_THAT(services, HasSubstr(EnglishList({"101", "102", "103", "77", "104", "105", "106"})));
  // Task statuses: a window that responds, one that does not.
  const std::string tasks = ReadFile(kHelpFolder / "tasks.html");
  for (const char* key : {"77", "78"}) {
    EXPECT_THAT(tasks, HasSubstr("<b>" + EnglishList({key}) + "</b>")) << key;
  }
  // Priority bands, from base priority 0 upwards.
  const std::string processes = ReadFile(kHelpFolder / "processes.html");
  EXPECT_THAT(processes, HasSubstr(EnglishList({"80", "81", "82", "83", "8301", "84", "85"})));
  // The status bar's panels read "(figure) label"; their tips are named too.
  const std::string statusBar = ReadFile(kHelpFolder / "statusbar.html");
  for (const char* key : {"74", "68", "70", "72"}) {
    EXPECT_THAT(statusBar, HasSubstr(") " + EnglishList({key}) + "<")) << key;
  }
  for (const char* key : {"69", "71", "73"}) {
    EXPECT_THAT(statusBar, HasSubstr("<i>" + EnglishList({key}) + "</i>")) << key;
  }
}

}  // namespace
