#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KVL_textfile.h"
#include "textfile_fixture.h"

namespace {

std::vector<std::string> AllLines(TTextFile& File) {
  std::vector<std::string> lines;
  std::string line;
  while (File.ReadLine(line)) lines.push_back(line);
  EXPECT_TRUE(line.empty());
  EXPECT_TRUE(File.Eof());
  return lines;
}

std::vector<std::string> LinesOfBytes(const std::string& Bytes) {
  TMemoryStream stream(std::vector<uint8_t>(Bytes.begin(), Bytes.end()));
  TTextFile file(stream, tmRead);
  return AllLines(file);
}

std::string BytesOf(const TMemoryStream& Stream) {
  return std::string(Stream.Bytes().begin(), Stream.Bytes().end());
}

}  // namespace

TEST(Windows1252, ConvertsBothWays) {
  struct Case {
    std::string Utf8;
    std::string Bytes;
  };
  const Case cases[] = {
      {"plain ASCII", "plain ASCII"},
      {"Forêt é ÿ", "For\xEAt \xE9 \xFF"},
      {"€ ‚ ƒ „ … Œ Ž ™ Ÿ", "\x80 \x82 \x83 \x84 \x85 \x8C \x8E \x99 \x9F"},
      {std::string("\x00 \x7F", 3), std::string("\x00 \x7F", 3)},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Utf8ToWindows1252(cases[i].Utf8), cases[i].Bytes) << "case " << i;
    EXPECT_EQ(Windows1252ToUtf8(cases[i].Bytes), cases[i].Utf8) << "case " << i;
  }
}

TEST(Windows1252, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1252("日本 ✓ \U0001F600 \u0080"), "?? ? ? ?");
  EXPECT_EQ(Utf8ToWindows1252("bad \xC3 and \xFF"), "bad ? and ?");  // not UTF-8
}

TEST(Windows1252, EveryByteSurvivesAReadAndRewrite) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(bytes)), bytes);
}

TEST(TextFileRead, AcceptsCrLfAndLfLineEnds) {
  struct Case {
    std::string Bytes;
    std::vector<std::string> Lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\nb\nc\r\n\r\nd", {"a", "b", "c", "", "d"}},
      {"\n\n", {"", ""}},
      {"x\ry\n", {"x\ry"}},  // a CR not before LF is an ordinary character
      {std::string("n\0l\x01\n", 5), {std::string("n\0l\x01", 4)}},
      {"caf\xE9 \x80\r\n", {"café €"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(LinesOfBytes(cases[i].Bytes), cases[i].Lines) << "case " << i;
  }
}

TEST(TextFileRead, TakesAHugeLineWithoutLineEnd) {
  const std::string huge(10 * 1024 * 1024, 'x');
  const std::vector<std::string> lines = LinesOfBytes(huge + "y\nz");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), huge.size() + 1);
  EXPECT_EQ(lines[0].back(), 'y');
  EXPECT_EQ(lines[1], "z");
}

TEST(TextFileRead, LeavesABorrowedStreamBehindTheLastLineTaken) {
  TMemoryStream stream(std::vector<uint8_t>{'a', '\r', '\n', 'b', '\n'});
  {
    TTextFile file(stream, tmRead);
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
  }
  EXPECT_EQ(stream.Position(), 3);
}

TEST(TextFileWrite, EncodesAndEndsLinesWithCrLf) {
  TMemoryStream stream;
  {
    TTextFile file(stream, tmRewrite);
    file.WriteLine("Forêt Noire €");
    file.Write("日");
    file.WriteLine("");
    file.WriteLine("end");
    file.Close();
  }
  EXPECT_EQ(BytesOf(stream), "For\xEAt Noire \x80\r\n?\r\nend\r\n");
  stream.SetPosition(0);
  TTextFile again(stream, tmRead);
  EXPECT_EQ(AllLines(again), (std::vector<std::string>{"Forêt Noire €", "?", "end"}));
}

using TextFileOnDisk = TempDirTest;

TEST_F(TextFileOnDisk, RewritesAppendsAndReads) {
  const std::string path = PathOf("lines.txt");
  {
    TTextFile file(path, tmRewrite);
    file.WriteLine("é1");
    file.Close();
  }
  {
    TTextFile file(path, tmAppend);
    file.WriteLine(std::string(100000, 'b'));  // more than one write buffer
  }  // closed by the destructor
  EXPECT_EQ(ReadBytes(path), "\xE9" "1\r\n" + std::string(100000, 'b') + "\r\n");
  TTextFile file(path, tmRead);
  const std::vector<std::string> lines = AllLines(file);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "é1");
}

TEST_F(TextFileOnDisk, MisuseAndMissingFilesRaiseFileErrors) {
  EXPECT_THROW(TTextFile(PathOf("missing.txt"), tmRead), EFileError);
  EXPECT_THROW(TTextFile(PathOf("missing.txt"), tmAppend), EFileError);
  TTextFile out(PathOf("out.txt"), tmRewrite);
  std::string line;
  EXPECT_THROW(out.ReadLine(line), EFileError);
  out.Close();
  EXPECT_THROW(out.WriteLine("x"), EFileError);
  TTextFile in(PathOf("out.txt"), tmRead);
  EXPECT_THROW(in.WriteLine("x"), EFileError);
}

TEST_F(TextFileOnDisk, AtomicWriteKeepsThePreviousFileOnFailure) {
  const std::string path = PathOf("cal.xml");
  WriteBytes(path, "previous\r\n");
  EXPECT_THROW(WriteTextFileAtomically(path,
                                       [](TTextFile& f) {
                                         f.WriteLine("partial");
                                         throw std::runtime_error("stopped");
                                       }),
               std::runtime_error);
  EXPECT_EQ(ReadBytes(path), "previous\r\n");
  WriteTextFileAtomically(path, [](TTextFile& f) { f.WriteLine("é"); });
  EXPECT_EQ(ReadBytes(path), "\xE9\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir), {}), 1);
}
