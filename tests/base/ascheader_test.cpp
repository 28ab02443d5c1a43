#include <gtest/gtest.h>

#include <string>

#include "KVL_ascheader.h"
#include "KVL_bytestream.h"
#include "textfile_fixture.h"

namespace {

struct Header {
  int32_t Status;
  std::string Title;
  int32_t Columns;
  int32_t Rows;
  bool Flags[4];
};

// Counts and flags start at values that no case produces, to show what was written.
constexpr int32_t kUntouched = 777;

}  // namespace

using AscHeaderTest = TempDirTest;

TEST_F(AscHeaderTest, ReadsTitleCountsAndFlags) {
  struct Case {
    std::string Bytes;
    Header Want;
  };
  const bool T = true;
  const bool F = false;
  const Case cases[] = {
      {"Exported\r\n2\t;nr. of columns\r\n5\t;nr. of rows\r\n"
       "false\ttrue FALSE ;row attributes\r\nx   y\r\n",
       {ahOk, "Exported", 2, 5, {F, T, F, F}}},
      {"t\n+2 cols\n-3\n  TRUE TRUE TRUE true\n", {ahOk, "t", 2, -3, {T, T, T, T}}},
      {"t\n2\n3\nFALSE FALSE FALSE TRUEX\n", {ahOk, "t", 2, 3, {F, F, F, T}}},  // starts with TRUE
      {"t\n2\n3\nFALSE FALSE FALSE FALSE\n", {ahOk, "t", 2, 3, {F, F, F, F}}},
      {"t\n2\n3\nTRUE maybe TRUE\n", {ahBadFlag, "t", 2, 3, {T, F, F, F}}},
      {"t\n2\n3\n", {ahBadFlag, "t", 2, 3, {F, F, F, F}}},  // no line 4
      {"Caf\xE9\nx\n3\nTRUE TRUE TRUE\n",
       {ahBadColumns, "Café", kUntouched, kUntouched, {T, T, T, T}}},
      {"t\n99999999999\n", {ahBadColumns, "t", kUntouched, kUntouched, {T, T, T, T}}},
      {"t\n2\n;3\nTRUE TRUE TRUE\n", {ahBadRows, "t", 2, kUntouched, {T, T, T, T}}},
      {"", {ahBadColumns, "", kUntouched, kUntouched, {T, T, T, T}}},
  };
  const std::string path = PathOf("data.asc");
  for (size_t row = 0; row < std::size(cases); ++row) {
    WriteBytes(path, cases[row].Bytes);
    Header got{0, "stale", kUntouched, kUntouched, {T, T, T, T}};
    got.Status = ReadAscHeader(path, got.Title, got.Columns, got.Rows, got.Flags[0], got.Flags[1],
                               got.Flags[2], got.Flags[3]);
    const Header& want = cases[row].Want;
    EXPECT_EQ(got.Status, want.Status) << "row " << row;
    EXPECT_EQ(got.Title, want.Title) << "row " << row;
    EXPECT_EQ(got.Columns, want.Columns) << "row " << row;
    EXPECT_EQ(got.Rows, want.Rows) << "row " << row;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(got.Flags[i], want.Flags[i]) << "row " << row << " flag " << i;
    }
  }
}

TEST_F(AscHeaderTest, MissingFileRaisesTheFileError) {
  std::string title;
  int32_t columns = 0;
  int32_t rows = 0;
  bool a = false, b = false, c = false, d = false;
  EXPECT_THROW(ReadAscHeader(PathOf("none.asc"), title, columns, rows, a, b, c, d), EFileError);
}
