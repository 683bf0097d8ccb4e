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

}  // namespace
