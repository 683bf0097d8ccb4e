#pragma once
// Lookups in a profile file with the answers the system's profile API gives
// (GetPrivateProfileStringA under Wine gave these), which the program's own
// reader is held to.
#include <string>
#include <vector>

namespace vectors {

struct ProfileCase {
  const char* section;
  const char* key;
  std::string expected;
  unsigned bufferSize = 355;
};

inline const std::string kProfileFile =
    "; a comment line\r\n[Main]\r\n1=File\r\n  2  =   Exit   \r\n3=\"  quoted  \"\r\n4='single'\r\n"
    "5=\"unbalanced\r\n6=a ; not a comment\r\n7=\r\n10=ten\r\n010=zero-ten\r\n11=first\r\n11=second\r\n"
    "12=" + std::string(400, 'x') + "\r\n13=\xC4\xE0\xED\r\n14=unix\n15=abcdefgh\r\n[ Spaced ]\r\nKey=spaced\r\n"
    "[main]\r\n1=second section\r\n99=only in the repeat\r\n";

inline const std::vector<ProfileCase> kProfileCases = {
    {"Main", "1", "File"}, {"Main", "2", "Exit"}, {"Main", "3", "  quoted  "}, {"Main", "4", "single"},
    {"Main", "5", "\"unbalanced"}, {"Main", "6", "a ; not a comment"}, {"Main", "7", ""},
    {"MAIN", "10", "ten"}, {"Main", "010", "zero-ten"}, {"Main", "11", "first"},
    {"Main", "12", std::string(354, 'x')}, {"Main", "13", "\xC4\xE0\xED"}, {"Main", "14", "unix"},
    {"Main", "15", "abcd", 5}, {"Spaced", "key", "spaced"}, {"Main", "99", ""}, {"About", "1", ""},
};

}  // namespace vectors
