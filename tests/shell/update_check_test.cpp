#include "shell/update_check.h"

#include <gtest/gtest.h>

namespace {

TEST(UpdateVersionComparison, OnlyTheFirstAndLastCharactersCountAgainstTwoPointOne) {
  const struct { const wchar_t* published; bool newer; } rows[] = {
      {L"2.2", true}, {L"2.1", false}, {L"3.0", true}, {L"1.9", false}, {L"2.0", false},
      {L"2.2\n", false},  // the line break is the last character: a minor of 0
      {L"2.2\r\n", false}, {L"", false}, {L"<html><body>404 Not Found</body></html>\n", false},
      {L"2 and then some text 5", true},  // what lies between is not read
  };
  for (const auto& row : rows) {
    EXPECT_EQ(dravik::IsNewerVersion(row.published, {2, 1}), row.newer) << row.published;
  }
}

TEST(UpdateVersionComparison, PromptShowsTheServersTextExactly) {
  dravik::MessageTexts messages;
  EXPECT_EQ(dravik::NewVersionPrompt(messages, L"2.2"),
            L"New version available!\r\nVersion: 2.2\r\n\r\n"
            L"Would you like to download it from our website?");
  messages.set(dravik::MessageText::Version, L"Versión:");
  messages.set(dravik::MessageText::NewVersion, L"N");
  messages.set(dravik::MessageText::WDownload, L"W");
  EXPECT_EQ(dravik::NewVersionPrompt(messages, L" 3.0 "), L"N\r\nVersión:  3.0 \r\n\r\nW");
}

}  // namespace
