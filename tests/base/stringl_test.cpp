#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KVL_stringl.h"

namespace {

TEST(TrimBlanks, Table) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},         {"   ", ""},          {" a b ", "a b"},       {"\tx ", "\tx"},
      {"  y\t", "y\t"}, {"abc", "abc"},      {std::string("\0 ", 2), std::string("\0", 1)},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(TrimBlanks(text), expected) << text;
}

TEST(ReplaceChar, ReplacesWholeCharacters) {
  EXPECT_EQ(ReplaceChar("a\nb\n", U'\n', U' '), "a b ");
  EXPECT_EQ(ReplaceChar("S\u00FCd", U'\u00FC', U'u'), "Sud");
  EXPECT_EQ(ReplaceChar("a.b", U'.', U'\u00B0'), "a\u00B0b");
  // A stray byte 0xFC is not the character U+00FC, and its neighbours stay intact.
  EXPECT_EQ(ReplaceChar("x\xFCy", U'\u00FC', U'u'), "x\xFCy");
  EXPECT_EQ(ReplaceChar("", U'a', U'b'), "");
}

TEST(ReplaceUnsafeChars, OneUnderscorePerCharacter) {
  EXPECT_EQ(ReplaceUnsafeChars("Map 1: S\u00FCd"), "Map_1__S_d");
  const std::string safe =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#$%&'()-.@^_`{}~";
  ASSERT_EQ(safe.size(), 79u);
  EXPECT_EQ(ReplaceUnsafeChars(safe), safe);
  EXPECT_EQ(ReplaceUnsafeChars(" \"*+,/:;<=>?[\\]|\x7F"), std::string(17, '_'));
  EXPECT_EQ(ReplaceUnsafeChars(std::string("a\0\x01\t", 4)), "a___");
  EXPECT_EQ(ReplaceUnsafeChars("\U0001F600x\u20AC"), "_x_");  // four and three bytes
  EXPECT_EQ(ReplaceUnsafeChars("\xC3(\xFF"), "_(_");          // broken sequences, byte by byte
}

TEST(StripExtension, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\maps\\town.old.jpg", "C:\\maps\\town"},
      {"/home/u/a.b.jpg", "/home/u/a"},
      {"dir.v2/name", "dir.v2/name"},
      {"dir.v2\\name.txt", "dir.v2\\name"},
      {"plain", "plain"},
      {".hidden", ""},
      {"a/", "a/"},
      {"", ""},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(StripExtension(path), expected) << path;
}

TEST(IndexOfText, CaseSensitiveOneBased) {
  const std::vector<std::string> list = {"geomap", "Lat", "lat", "lat"};
  EXPECT_EQ(IndexOfText("lat", list), 3);
  EXPECT_EQ(IndexOfText("geomap", list), 1);
  EXPECT_EQ(IndexOfText("LAT", list), 0);
  EXPECT_EQ(IndexOfText("x", {}), 0);
}

struct NthPosCase {
  const char* sub;
  const char* text;
  int32_t start;
  bool ignoreCase;
  int32_t n;
  int32_t expected;
};

TEST(NthPos, Table) {
  const NthPosCase cases[] = {
      {"\"", "x id=\"abc\" y", 3, false, 2, 10},
      {"\"", "x id=\"abc\" y", 7, false, 1, 10},
      {"\"", "x id=\"abc\" y", 3, false, 3, 0},
      {"aa", "aaaa", 1, false, 2, 3},  // occurrences do not overlap
      {"aa", "aaaaa", 2, false, 2, 4},
      {"ID", "x id=1", 1, true, 1, 3},
      {"ID", "x id=1", 1, false, 1, 0},
      {"a", "abc", -4, false, 1, 1},
      {"a", "abc", 0, false, 0, 0},
      {"a", "abc", 1, false, -1, 0},
      {"", "abc", 1, false, 1, 0},
      {"c", "abc", 4, false, 1, 0},
      {"c", "abc", INT32_MAX, false, 1, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const NthPosCase& c = cases[i];
    EXPECT_EQ(NthPos(c.sub, c.text, c.start, c.ignoreCase, c.n), c.expected) << "case " << i;
  }
}

// Feeds a line and its line end to ParseQuotedName and collects every completed name.
std::vector<std::string> Names(const std::string& line) {
  std::vector<std::string> names;
  std::string name;
  TQuotedStrState state = vsStart;
  for (const char c : line + "\n") {
    if (ParseQuotedName(c, '"', name, state)) names.push_back(name);
  }
  return names;
}

TEST(ParseQuotedName, ReadsPlainAndQuotedNames) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Names("x   y"), (V{"x", "y"}));
  EXPECT_EQ(Names("\"first col\" \"y\"\tz"), (V{"first col", "y", "z"}));
  EXPECT_EQ(Names("  \"\" a"), (V{"", "a"}));
  EXPECT_EQ(Names("ab\"c d"), (V{"ab\"c", "d"}));     // a stray quote inside a plain name
  EXPECT_EQ(Names("\"open to the end"), (V{"open to the end"}));
  EXPECT_EQ(Names("   "), V{});
}

TEST(ParseQuotedName, ReportsStatesAndCompletion) {
  std::string name = "old";
  TQuotedStrState state = vsStart;
  EXPECT_FALSE(ParseQuotedName(' ', '\'', name, state));
  EXPECT_EQ(state, vsStart);
  EXPECT_FALSE(ParseQuotedName('\'', '\'', name, state));
  EXPECT_EQ(state, vs1stQuote);
  EXPECT_EQ(name, "");
  EXPECT_FALSE(ParseQuotedName('a', '\'', name, state));
  EXPECT_EQ(state, vsQuote);
  EXPECT_TRUE(ParseQuotedName('\'', '\'', name, state));
  EXPECT_EQ(state, vsEnd);
  EXPECT_EQ(name, "a");
  EXPECT_FALSE(ParseQuotedName('b', '\'', name, state));  // a new name begins
  EXPECT_EQ(state, vsNormal);
  EXPECT_EQ(name, "b");
}

}  // namespace
