#pragma once
// Lookups in profile files with the answers the system's profile API gives.
// The native reader (the engine of the profile double) and, under Wine,
// GetPrivateProfileStringA are both held to them.
#include <cstddef>
#include <string>
#include <vector>

namespace vectors {

struct ProfileCase {
  const char* section;
  const char* key;
  std::string expected;
  std::size_t bufferSize = 355;
};

inline const std::string kProfileFile =
    "; a comment line\r\n[Main]\r\n1=File\r\n  2  =   Exit   \r\n"
    "3=\"  quoted, inner blanks kept  \"\r\n4='single'\r\n5=\"unbalanced\r\n"
    "6=before ; not a comment\r\n7=\r\n10=ten\r\n010=zero-ten\r\n11=first\r\n11=second\r\n"
    "12=" + std::string(400, 'x') + "\r\n13=\xC4\xE0\xED\xE8\xEA\r\n14=unix\n15=abcdefgh\r\n"
    "[ Spaced Section ]\r\nKey=spaced\r\n[main]\r\n1=second section\r\n99=only in the repeat\r\n";

inline std::vector<ProfileCase> ProfileCases() {
  return {
      {"Main", "1", "File"}, {"Main", "2", "Exit"}, {"Main", "3", "  quoted, inner blanks kept  "},
      {"Main", "4", "single"}, {"Main", "5", "\"unbalanced"}, {"Main", "6", "before ; not a comment"},
      {"Main", "7", ""}, {"MAIN", "10", "ten"}, {"Main", "010", "zero-ten"}, {"Main", "11", "first"},
      {"Main", "12", std::string(354, 'x')}, {"Main", "13", "\xC4\xE0\xED\xE8\xEA"},  // 8-bit bytes kept
      {"Main", "14", "unix"}, {"Main", "15", "abcd", 5}, {"Spaced Section", "key", "spaced"},
      {"Main", "99", ""},  // a repeated section is not searched
      {"Main", "16", ""}, {"About", "1", ""},
  };
}

}  // namespace vectors
