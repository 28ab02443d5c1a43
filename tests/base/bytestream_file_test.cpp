#include <gtest/gtest.h>

#include <string>

#include "KVL_bytestream.h"
#include "textfile_fixture.h"

using FileStreamTest = TempDirTest;

TEST_F(FileStreamTest, WritesReadsAndSeeks) {
  const std::string path = PathOf("data.bin");
  {
    TFileStream out(path, fmCreate);
    EXPECT_EQ(out.Write("hello world", 11), 11u);
    EXPECT_EQ(out.Size(), 11);
    out.SetPosition(6);
    char word[5] = {};
    EXPECT_EQ(out.Read(word, 5), 5u);  // reading right after writing in the same stream
    EXPECT_EQ(std::string(word, 5), "world");
    out.SetPosition(0);
    out.Write("J", 1);
    EXPECT_EQ(out.Position(), 1);
    out.SetPosition(-5);
    EXPECT_EQ(out.Position(), 0);
    out.SetPosition(1000);  // clamped to the size
    EXPECT_EQ(out.Position(), 11);
  }
  EXPECT_EQ(ReadBytes(path), "Jello world");

  TFileStream in(path, fmOpenRead);
  char buffer[32];
  in.SetPosition(9);
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 2u);  // the end of the file is not an error
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 0u);
}

TEST_F(FileStreamTest, OpenModesKeepOrReplaceContents) {
  const std::string path = PathOf("modes.bin");
  WriteBytes(path, "abcdef");
  {
    TFileStream rw(path, fmOpenWrite);
    EXPECT_EQ(rw.Position(), 0);
    rw.Write("XY", 2);
  }
  EXPECT_EQ(ReadBytes(path), "XYcdef");
  { TFileStream created(path, fmCreate); }
  EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(FileStreamTest, ErrorsNameTheFileAndTheReason) {
  const std::string missing = PathOf("missing.bin");
  try {
    TFileStream in(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
  }
  EXPECT_THROW(TFileStream(PathOf("no/dir/x.bin"), fmCreate), EFileError);

  const std::string existing = PathOf("existing.bin");
  WriteBytes(existing, "x");
  EXPECT_THROW(TFileStream(existing, fmCreateNew), EFileError);
  EXPECT_EQ(ReadBytes(existing), "x");

  TFileStream readOnly(existing, fmOpenRead);
  EXPECT_THROW(readOnly.Write("y", 1), EFileError);
  TFileStream writeOnly(existing, fmOpenWrite);
  char c;
  EXPECT_THROW(writeOnly.Read(&c, 1), EFileError);
}

TEST_F(FileStreamTest, AtomicWriteReplacesOnlyOnSuccess) {
  const std::string path = PathOf("target.bin");
  WriteBytes(path, "old");
  WriteFileAtomically(path, [](TFileStream& s) { s.Write("new", 3); });
  EXPECT_EQ(ReadBytes(path), "new");

  EXPECT_THROW(WriteFileAtomically(path,
                                   [](TFileStream& s) {
                                     s.Write("half", 4);
                                     throw EFileError("disk full");
                                   }),
               EFileError);
  EXPECT_EQ(ReadBytes(path), "new");
  // Nothing is left behind beside the target.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir), {}), 1);

  EXPECT_THROW(WriteFileAtomically(PathOf("no/dir/x.bin"), [](TFileStream&) {}), EFileError);
}
