// Vector text files and raw streams.
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "KVL_univconst.h"
#include "KVL_vector.h"
#include "persist_tempdir.h"

namespace {

template <typename V>
std::vector<typename V::Elem> ValuesOf(const V& v) {
  return {v.Data(), v.Data() + v.NrOfElem()};
}

template <typename V>
void Assign(V& v, const std::vector<typename V::Elem>& values) {
  v.Resize(static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) v.SetElement(static_cast<int32_t>(i + 1), values[i]);
}

// Counts the notifications of a vector.
struct ChangeCounter {
  int Count = 0;
  template <typename V>
  explicit ChangeCounter(V& v) {
    v.SetOnChange([this](void*) { ++Count; });
  }
};

std::string Bytes(const TMemoryStream& s) { return {s.Bytes().begin(), s.Bytes().end()}; }

TMemoryStream StreamOfInts(const std::vector<int32_t>& items) {
  TMemoryStream s;
  for (int32_t x : items) s.Write(&x, sizeof x);  // the machine is little-endian, as the format
  s.SetPosition(0);
  return s;
}

class VectorText : public PersistTest {};
class VectorStream : public PersistTest {};

}  // namespace

TEST_F(VectorText, StoreOnFileWritesHeaderAndOneValuePerLine) {
  TVector v;
  Assign(v, {1.5, 2.25, 3, -1234.5});
  struct Case {
    int32_t first, last, precision;
    std::string expected;
  };
  const Case cases[] = {
      {3, 1, 2, "1 3\r\n1.50\r\n2.25\r\n3.00\r\n"},         // reversed range swapped
      {1, 1, -7, "1 1\r\n1.50\r\n"},                        // below -2: 2 decimals
      {-3, 1, 0, "1 1\r\n2\r\n"},                           // clamped
      {4, 9, 25, "4 4\r\n-1234.50000000000000000000\r\n"},  // above 20: 20 decimals
      {2, 2, -1, "2 2\r\n 2.2500E+0000\r\n"},
      {4, 4, -2, "4 4\r\n-1.23450000000000000E+0003\r\n"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const std::string path = PathOf("v" + std::to_string(i) + ".txt");
    EXPECT_TRUE(v.StoreOnFile(c.first, c.last, c.precision, path)) << i;
    EXPECT_EQ(Read(path), c.expected) << i;
  }
  TIntVector iv;
  Assign(iv, {7, -2147483647 - 1, 0});
  ASSERT_TRUE(iv.StoreOnFile(0, 0, PathOf("i.txt")));  // no "zero meaning all" here
  EXPECT_EQ(Read(PathOf("i.txt")), "1 0\r\n");
  ASSERT_TRUE(iv.StoreOnFile(1, 3, PathOf("i.txt")));
  EXPECT_EQ(Read(PathOf("i.txt")), "1 3\r\n7\r\n-2147483648\r\n0\r\n");
}

TEST_F(VectorText, StoreOnFileReportsAFileThatCannotBeWritten) {
  TVector v;
  EXPECT_FALSE(v.StoreOnFile(1, 1, 2, UnwritablePath()));
  TIntVector iv;
  EXPECT_FALSE(iv.StoreOnFile(1, 1, FDir.string()));  // a directory is in the way
}

TEST_F(VectorText, RoundTripWithEighteenDigitsIsExact) {
  TVector v;
  Assign(v, {0.1, -1.0 / 3, 6.02214076e23, 4.9e-324, std::numeric_limits<double>::max()});
  ASSERT_TRUE(v.StoreOnFile(0, 5, -2, PathOf("v.txt")));
  TVector back;
  ASSERT_TRUE(back.LoadFromFile(PathOf("v.txt"), true));
  EXPECT_EQ(ValuesOf(back), ValuesOf(v));

  TIntVector iv;
  Assign(iv, {5, -2147483647 - 1, 2147483647, 0});
  ASSERT_TRUE(iv.StoreOnFile(2, 4, PathOf("i.txt")));
  TIntVector ib;
  ASSERT_TRUE(ib.LoadFromFile(PathOf("i.txt"), true));
  EXPECT_EQ(ValuesOf(ib), (std::vector<int32_t>{0, -2147483647 - 1, 2147483647, 0}));
}

TEST_F(VectorText, LoadResizesToTheLastIndexAndNotifiesPerElement) {
  const std::string path = Write("v.txt", "2 4\r\n10\r\n20\r\n30\r\n");
  TVector v;
  ChangeCounter changes(v);
  ASSERT_TRUE(v.LoadFromFile(path, true));
  EXPECT_EQ(ValuesOf(v), (std::vector<double>{0, 10, 20, 30}));
  EXPECT_EQ(changes.Count, 1 + 3 + 1);  // resize, three elements, the end
  EXPECT_FALSE(v.IsEmpty());
}

TEST_F(VectorText, LoadIntoAShortVectorFailsButNotifies) {
  const std::string path = Write("v.txt", "2 4\r\n10\r\n20\r\n30\r\n");
  TVector v;
  Assign(v, {1, 2, 3});
  ChangeCounter changes(v);
  EXPECT_FALSE(v.LoadFromFile(path, false));
  EXPECT_EQ(ValuesOf(v), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(changes.Count, 1);
}

TEST_F(VectorText, LoadReadsWordsAcrossLinesAndSkipsWhatIsNoNumber) {
  TVector v;
  Assign(v, {9, 9, 9, 9});
  const std::string path = Write("v.txt", "1\t4 +1.5 abc\n\n  -2e3 1,5");
  EXPECT_TRUE(v.LoadFromFile(path, false));
  EXPECT_EQ(ValuesOf(v), (std::vector<double>{1.5, 9, -2000, 9}));

  TIntVector iv;  // integers read reals and round them half to even
  ASSERT_TRUE(iv.LoadFromFile(Write("i.txt", "1 5 2.5 3.5 -0.5 1e9 3e9"), true));
  EXPECT_EQ(ValuesOf(iv), (std::vector<int32_t>{2, 4, 0, 1000000000, 0}));
}

TEST_F(VectorText, LoadOfAFileThatEndsEarlyChangesNothing) {
  TVector v;
  Assign(v, {9, 9, 9});
  ChangeCounter changes(v);
  EXPECT_FALSE(v.LoadFromFile(Write("v.txt", "1 3\n1 2\n\n\n\n"), true));
  EXPECT_EQ(ValuesOf(v), (std::vector<double>{9, 9, 9}));
  EXPECT_EQ(changes.Count, 1);
}

TEST_F(VectorText, FarRangeLoadsOnlyIntoAVectorLargeEnough) {
  const std::string path = Write("far.txt", "1000000 1000000\r\n5\r\n");
  TVector v;
  EXPECT_FALSE(v.LoadFromFile(path, true));  // 8 MB from a 22-byte file: refused
  EXPECT_EQ(v.NrOfElem(), 1);
  v.Resize(1000000);
  EXPECT_TRUE(v.LoadFromFile(path, false));
  EXPECT_EQ(v.Element(1000000), 5);
}

TEST_F(VectorText, EmptyRangeLoadsNothing) {
  TIntVector iv;
  Assign(iv, {3, 4});
  ASSERT_TRUE(iv.StoreOnFile(0, 0, PathOf("empty.txt")));
  EXPECT_TRUE(iv.LoadFromFile(PathOf("empty.txt"), true));  // Resize(0) is refused
  EXPECT_EQ(ValuesOf(iv), (std::vector<int32_t>{3, 4}));
}

TEST_F(VectorText, LoadRefusesBadHeadersWithoutChangingTheVector) {
  const char* const files[] = {
      "",
      "1",
      "a 2 1",
      "2.5 3 1 1",
      "1 99999999999 1",
      "3 1 1 1",                            // reversed
      "0 1 5 5",                            // index 0
      "-5 -4 1 1",                          // negative
      "1 2000000000 1 2 3",                 // more values than the file can hold
      "1999999999 2000000000 1 2",          // a size the file cannot justify
      "-2000000000 2000000000 1",           // no loop over four billion indices
      "1 100000000\n1 2 3 4 5 6 7 8 9 10",  // idem, and no 800 MB resize
  };
  for (const bool adjust : {true, false}) {
    for (size_t i = 0; i < std::size(files); ++i) {
      TVector v;
      Assign(v, {4, 5});
      EXPECT_FALSE(v.LoadFromFile(Write("bad.txt", files[i]), adjust)) << i;
      EXPECT_EQ(ValuesOf(v), (std::vector<double>{4, 5})) << i;
      TIntVector iv;
      EXPECT_FALSE(iv.LoadFromFile(PathOf("bad.txt"), adjust)) << i;
      EXPECT_EQ(iv.NrOfElem(), 1) << i;
    }
  }
  TVector v;
  ChangeCounter changes(v);
  EXPECT_FALSE(v.LoadFromFile(PathOf("missing.txt"), true));
  EXPECT_EQ(changes.Count, 0);
}

TEST_F(VectorStream, SaveWritesIndicesAndValuesRaw) {
  TVector v;
  Assign(v, {1, 2, 3});
  std::unique_ptr<TMemoryStream> out;
  v.SaveToStream(out, 0, 0);  // (0, 0): all; the stream is created
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->Size(), 50);
  TMemoryStream expected;
  for (long double x : {1.0L, 3.0L, 1.0L, 2.0L, 3.0L}) WriteExtendedToStream(expected, x);
  EXPECT_EQ(Bytes(*out), Bytes(expected));

  TIntVector iv;
  Assign(iv, {7, 8, 9});
  TMemoryStream s;
  iv.SaveToStream(s, 3, 2);  // reversed: swapped
  EXPECT_EQ(Bytes(s), Bytes(StreamOfInts({2, 3, 8, 9})));
  iv.SaveToStream(s, 0, 0);  // appended at the position
  EXPECT_EQ(s.Size(), 16 + 20);
}

TEST_F(VectorStream, RoundTripThroughAFileStream) {
  TVector v;
  Assign(v, {0.1, -2.5e-300, std::numeric_limits<double>::infinity(), 4});
  {
    TFileStream f(PathOf("v.bin"), fmCreate);
    v.SaveToStream(f, 2, 3);
  }
  TVector back;
  Assign(back, {7, 7, 7, 7, 7});
  TFileStream f(PathOf("v.bin"), fmOpenRead);
  ASSERT_TRUE(back.LoadFromStream(&f, true));
  EXPECT_EQ(ValuesOf(back),
            (std::vector<double>{7, -2.5e-300, std::numeric_limits<double>::infinity()}));
}

TEST_F(VectorStream, LoadReadsAHandWrittenStream) {
  TMemoryStream s = StreamOfInts({2, 3, -5, 6});
  TIntVector iv;
  ChangeCounter changes(iv);
  ASSERT_TRUE(iv.LoadFromStream(&s, true));
  EXPECT_EQ(ValuesOf(iv), (std::vector<int32_t>{0, -5, 6}));
  EXPECT_EQ(changes.Count, 1 + 2 + 1);
  EXPECT_EQ(s.Position(), s.Size());
}

TEST_F(VectorStream, LoadOfIndicesWithoutValuesFailsButNotifies) {
  TVector v;
  Assign(v, {1, 2, 3});
  TMemoryStream s;
  WriteExtendedToStream(s, 1);
  WriteExtendedToStream(s, 3);
  s.SetPosition(0);
  ChangeCounter changes(v);
  EXPECT_FALSE(v.LoadFromStream(&s, true));
  EXPECT_EQ(ValuesOf(v), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(changes.Count, 1);
  EXPECT_FALSE(v.LoadFromStream(nullptr, true));
}

TEST_F(VectorStream, LoadRefusesBadIndicesWithoutChangingTheVector) {
  const std::vector<std::vector<int32_t>> streams = {
      {},
      {1},
      {3, 1, 0, 0},
      {0, 1, 5, 5},
      {-7, -6, 1, 1},
      {1, 2000000000, 1, 2},
      {1999999999, 2000000000, 1, 2},
  };
  for (size_t i = 0; i < streams.size(); ++i) {
    TMemoryStream s = StreamOfInts(streams[i]);
    TIntVector iv;
    Assign(iv, {4, 5});
    EXPECT_FALSE(iv.LoadFromStream(&s, true)) << i;
    EXPECT_EQ(ValuesOf(iv), (std::vector<int32_t>{4, 5})) << i;
  }
  const long double badIndices[] = {std::numeric_limits<long double>::quiet_NaN(), 1e10L,
                                    std::numeric_limits<long double>::infinity()};
  for (long double index : badIndices) {
    TMemoryStream s;
    WriteExtendedToStream(s, 1);
    WriteExtendedToStream(s, index);
    WriteExtendedToStream(s, 5);
    s.SetPosition(0);
    TVector v;
    EXPECT_FALSE(v.LoadFromStream(&s, true));
    EXPECT_EQ(v.NrOfElem(), 1);
  }
}
