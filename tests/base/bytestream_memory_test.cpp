#include <gtest/gtest.h>

#include "KVL_bytestream.h"

TEST(MemoryStream, GrowsOnWriteAndClampsThePosition) {
  TMemoryStream s;
  s.Write("abc", 3);
  s.SetPosition(1);
  s.Write("XYZ", 3);  // overwrites and grows
  EXPECT_EQ(std::string(s.Bytes().begin(), s.Bytes().end()), "aXYZ");
  EXPECT_EQ(s.Position(), 4);
  char buffer[8];
  EXPECT_EQ(s.Read(buffer, sizeof buffer), 0u);
  s.SetPosition(2);
  EXPECT_EQ(s.Read(buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "YZ");
  s.SetPosition(-1);
  EXPECT_EQ(s.Position(), 0);
  s.SetPosition(99);
  EXPECT_EQ(s.Position(), 4);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}
