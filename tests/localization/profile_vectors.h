#pragma once
// Lookups in profile files with the answers the system's profile API gives.
// The native reader and, under Wine, GetPrivateProfileStringA are both held to them.
#include <cstddef>
#include <string>
#include <vector>

namespace vectors {

struct ProfileCase {
  const char* name;
  std::string file;  // file contents; an empty name below means "no file at all"
  const char* section;
  const char* key;
  std::size_t bufferSize;
  std::string expected;
};

inline std::vector<ProfileCase> ProfileCases() {
  const std::string body =
      "; a comment line\r\n"
      "[Main]\r\n"
      "1=File\r\n"
      "  2  =   Exit   \r\n"
      "3=\"  quoted, inner blanks kept  \"\r\n"
      "4='single'\r\n"
      "5=\"unbalanced\r\n"
      "6=before ; not a comment\r\n"
      "7=\r\n"
      "10=ten\r\n"
      "010=zero-ten\r\n"
      "11=first\r\n"
      "11=second\r\n"
      "[ Spaced Section ]\r\n"
      "Key=spaced\r\n"
      "[main]\r\n"
      "1=second section\r\n"
      "99=only in the repeat\r\n";
  const std::string long400(400, 'x');
  return {
      {"plain value", body, "Main", "1", 355, "File"},
      {"blanks around key and value", body, "Main", "2", 355, "Exit"},
      {"double quotes removed, inner blanks kept", body, "Main", "3", 355,
       "  quoted, inner blanks kept  "},
      {"single quotes removed", body, "Main", "4", 355, "single"},
      {"unbalanced quote kept", body, "Main", "5", 355, "\"unbalanced"},
      {"semicolon inside a value kept", body, "Main", "6", 355, "before ; not a comment"},
      {"empty value", body, "Main", "7", 355, ""},
      {"section name without regard to case", body, "MAIN", "1", 355, "File"},
      {"key 10", body, "Main", "10", 355, "ten"},
      {"key 010 is another key", body, "Main", "010", 355, "zero-ten"},
      {"first of duplicate keys", body, "Main", "11", 355, "first"},
      {"blanks inside brackets", body, "Spaced Section", "key", 355, "spaced"},
      {"a repeated section is not searched", body, "Main", "99", 355, ""},
      {"missing key", body, "Main", "12", 355, ""},
      {"missing section", body, "About", "1", 355, ""},
      {"400 characters cut to 354", "[Main]\r\n1=" + long400 + "\r\n", "Main", "1", 355,
       std::string(354, 'x')},
      {"small buffer", "[Main]\r\n1=abcdefgh\r\n", "Main", "1", 5, "abcd"},
      {"unix line ends", "[Main]\n1=File\n2=Exit\n", "Main", "2", 355, "Exit"},
      {"8-bit text kept as bytes", "[Main]\r\n1=\xC4\xE0\xED\xE8\xEA\r\n", "Main", "1", 355,
       "\xC4\xE0\xED\xE8\xEA"},
  };
}

}  // namespace vectors
