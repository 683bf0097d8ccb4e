#include "localization/profile_reader.h"

#include <gtest/gtest.h>

#include "localization/profile_vectors.h"

namespace {

TEST(ProfileReader, AnswersLikeTheSystemProfileApi) {
  for (const auto& c : vectors::ProfileCases()) {
    EXPECT_EQ(dravik::LookupProfileValue(c.file, c.section, c.key, "", c.bufferSize), c.expected)
        << c.name;
  }
}

TEST(ProfileReader, MissingKeyGivesTheFallbackWithoutTrailingBlanksAndQuotes) {
  EXPECT_EQ(dravik::LookupProfileValue("", "Main", "1", "\"dflt\"  ", 355), "dflt");
  EXPECT_EQ(dravik::LookupProfileValue("[Main]\r\n2=x\r\n", "Main", "1", "", 355), "");
}

}  // namespace
