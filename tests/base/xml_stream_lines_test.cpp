#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "KVL_streams.h"
#include "xml_sources.h"

namespace {

using TLines = std::vector<std::pair<std::string, bool>>;  // line, EndOfStream

TLines ReadAllLines(const std::string& Bytes, int32_t Mode) {
  TMemoryStream stream = StreamOf(Bytes);
  TLines lines;
  bool end = false;
  while (!end) {
    std::string line = "stale";
    ReadLineFromStream(stream, end, Mode, line);
    lines.emplace_back(line, end);
  }
  return lines;
}

// Records the size of every write, to see the buffering.
class TRecordingStream : public TMemoryStream {
 public:
  size_t Write(const void* Buffer, size_t Count) override {
    Writes.push_back(Count);
    return TMemoryStream::Write(Buffer, Count);
  }
  std::vector<size_t> Writes;
};

}  // namespace

TEST(ReadLineFromStream, EndsLinesByMode) {
  struct Case {
    std::string Bytes;
    int32_t Mode;
    TLines Lines;
  };
  const Case cases[] = {
      {"A\r\nB", 0, {{"A", false}, {"B", true}}},
      {"A\r\nB", 1, {{"A", false}, {"B", true}}},
      {"A\r\nB", 2, {{"A", false}, {"", false}, {"B", true}}},
      {"A\n\rB\r\nC", 3, {{"A", false}, {"BC", true}}},
      {"A\r\nB\n\rC", 4, {{"A", false}, {"BC", true}}},
      {"A\nB\rC", 9, {{"ABC", true}}},
      {"A\n", 0, {{"A", false}, {"", true}}},
      {"", 0, {{"", true}}},
      {std::string("A\tB\x01\0\x1F" "C\x7F\nD", 10), 0, {{"A\tBC\x7F", false}, {"D", true}}},
      {"\xE9t\xE9\n", 0, {{"été", false}, {"", true}}},  // one byte, one character
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    EXPECT_EQ(ReadAllLines(cases[row].Bytes, cases[row].Mode), cases[row].Lines) << "row " << row;
  }
}

TEST(ReadLineFromStream, StopsRightBehindTheLineEnd) {
  TMemoryStream stream = StreamOf("A\r\nB");
  bool end = true;
  std::string line;
  ReadLineFromStream(stream, end, 0, line);
  EXPECT_EQ(stream.Position(), 3);
  const std::string huge(10 * 1024 * 1024, 'h');
  TMemoryStream big = StreamOf(huge);
  ReadLineFromStream(big, end, 0, line);
  EXPECT_TRUE(end);
  EXPECT_EQ(line.size(), huge.size());
}

TEST(WriteToStream, WritesOneBytePerCharacterInBlocksOf4096) {
  TRecordingStream stream;
  WriteTextToStream(stream, "é€ x");
  WriteLineToStream(stream, "");
  WriteLineToStream(stream, std::string(5000, 'a'));
  EXPECT_EQ(stream.Writes, (std::vector<size_t>{4, 2, 4096, 906}));
  const std::string bytes(stream.Bytes().begin(), stream.Bytes().end());
  // Characters above 255 cannot be one byte: they are written as "?".
  EXPECT_EQ(bytes.substr(0, 6), "\xE9? x\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 3), "a\r\n");
  TRecordingStream empty;
  WriteTextToStream(empty, "");
  EXPECT_TRUE(empty.Writes.empty());
}
