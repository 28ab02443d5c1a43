// Matrix text files and raw streams.
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "KVL_matrix.h"
#include "KVL_univconst.h"
#include "matrix_rows.h"
#include "persist_tempdir.h"

namespace {

struct ChangeCounter {
  int Count = 0;
  template <typename M>
  explicit ChangeCounter(M& m) {
    m.SetOnChange([this](void*) { ++Count; });
  }
};

TMemoryStream StreamOfInts(const std::vector<int32_t>& items) {
  TMemoryStream s;
  for (int32_t x : items) WriteIntToStream(s, x);
  s.SetPosition(0);
  return s;
}

class MatrixText : public PersistTest {};
class MatrixStream : public PersistTest {};

}  // namespace

TEST_F(MatrixText, StoreOnFileWritesTheBlockRowByRow) {
  TMatrix m;
  Assign(m, {{1, 2, 3}, {0.1, -2.5e-300, 1e300}});
  ASSERT_TRUE(m.StoreOnFile(0, 0, 0, 0, PathOf("all.txt")));
  EXPECT_EQ(Read(PathOf("all.txt")), "1 1 3 2\r\n1 2 3\r\n0.1 -2.5e-300 1e+300\r\n");
  ASSERT_TRUE(m.StoreOnFile(3, 2, 2, 9, PathOf("block.txt")));  // swapped and clamped
  EXPECT_EQ(Read(PathOf("block.txt")), "2 2 3 2\r\n-2.5e-300 1e+300\r\n");
  TIntMatrix empty;
  empty.Resize(0, 2);
  ASSERT_TRUE(empty.StoreOnFile(0, 0, 0, 0, PathOf("empty.txt")));
  EXPECT_EQ(Read(PathOf("empty.txt")), "1 1 0 2\r\n");
  EXPECT_FALSE(m.StoreOnFile(0, 0, 0, 0, UnwritablePath()));
}

TEST_F(MatrixText, RoundTripKeepsEveryValue) {
  TMatrix m;
  Assign(m, {{1.0 / 3, std::numeric_limits<double>::denorm_min()},
             {-0.0, std::numeric_limits<double>::infinity()},
             {std::numeric_limits<double>::max(), 42}});
  ASSERT_TRUE(m.StoreOnFile(0, 0, 0, 0, PathOf("m.txt")));
  TMatrix back;
  ChangeCounter changes(back);
  ASSERT_TRUE(back.LoadFromFile(PathOf("m.txt"), true));
  EXPECT_EQ(back.CRCofData(), m.CRCofData());
  EXPECT_EQ(changes.Count, 1);

  TIntMatrix im;
  Assign(im, {{1, -2147483647 - 1}, {2147483647, 0}});
  ASSERT_TRUE(im.StoreOnFile(2, 1, 2, 2, PathOf("i.txt")));
  TIntMatrix ib;
  ASSERT_TRUE(ib.LoadFromFile(PathOf("i.txt"), true));
  EXPECT_EQ(RowsOf(ib), (Rows<int32_t>{{0, -2147483647 - 1}, {0, 0}}));
}

TEST_F(MatrixText, LoadPutsAHandWrittenBlockAtItsPlace) {
  const std::string path = Write("m.txt", "2 1 3 2\n 5 6\t\n7   +8e0\n");
  TMatrix m;
  Assign(m, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
  ASSERT_TRUE(m.LoadFromFile(path, false));  // the matrix holds the block: size kept
  EXPECT_EQ(RowsOf(m), (Rows<double>{{1, 5, 6}, {1, 7, 8}, {1, 1, 1}}));
  ASSERT_TRUE(m.LoadFromFile(path, true));  // resized to (3, 2) first
  EXPECT_EQ(RowsOf(m), (Rows<double>{{1, 5, 6}, {1, 7, 8}}));
  TMatrix small;
  EXPECT_FALSE(small.LoadFromFile(path, false));
  EXPECT_EQ(small.NrOfColumns(), 1);
}

TEST_F(MatrixText, LoadIntoASparseMatrixStoresTheNonzeroValues) {
  std::unique_ptr<TIntMatrix> m(TIntMatrix::CreateSparse(nullptr, 2));
  m->SetElement(1, 1, 9);
  ASSERT_TRUE(m->LoadFromFile(Write("m.txt", "1 1 2 2\n0 3\n0 0"), true));
  EXPECT_TRUE(m->IsSparse());
  EXPECT_EQ(RowsOf(*m), (Rows<int32_t>{{0, 3}, {0, 0}}));
  ASSERT_EQ(m->SparseNumElem(), 2);  // (1, 1) kept as a stored 0, (2, 1) added

  m->SetElement(1, 3, 8);
  m->SetElement(3, 1, 4);  // entries before, inside and after the block below
  ASSERT_TRUE(m->LoadFromFile(Write("col.txt", "2 1 2 3\n5\n0\n6"), false));
  std::vector<std::vector<int32_t>> entries;
  for (const TSpMatElemInt& e : m->SparseEntries())
    entries.push_back({e.colidx, e.rowidx, e.value});
  EXPECT_EQ(entries, (std::vector<std::vector<int32_t>>{
                         {1, 1, 0}, {1, 3, 8}, {2, 1, 5}, {2, 3, 6}, {3, 1, 4}}));
  EXPECT_EQ(m->SparseHighRow(), 3);
}

TEST_F(MatrixText, LoadRefusesBadFilesWithoutChangingTheMatrix) {
  const char* const files[] = {
      "",
      "1 1 2",
      "1 1 2 x 5 5",
      "1 1 1 1 abc",                  // text where a number belongs
      "1 1 2 2 1 2 3",                // truncated
      "1 1 2 2 1 2 3    ",            // truncated, with room for the number
      "1 1 2 2 1 2 3 4.5",            // TIntMatrix: not an integer
      "0 1 1 1 5",                    // index 0
      "3 1 1 1 5",                    // reversed
      "-1 -1 1 1 5",                  // negative
      "1 1 2000000000 2000000000 1",  // more values than the file holds
      "1 1 1 2000000000 1 2",         // idem
      "2000000000 1 2000000000 1 7",  // one value, a size no file this small justifies
      "1 1 0 2000000000",             // no values, but 2e9 rows of storage
      "1 1 99999999999 1 5",          // bound beyond 32 bits
  };
  for (const bool adjust : {true, false}) {
    for (size_t i = 0; i < std::size(files); ++i) {
      const std::string path = Write("bad.txt", files[i]);
      TIntMatrix m;
      Assign(m, {{4, 5}, {6, 7}});
      ChangeCounter changes(m);
      EXPECT_FALSE(m.LoadFromFile(path, adjust)) << i;
      EXPECT_EQ(RowsOf(m), (Rows<int32_t>{{4, 5}, {6, 7}})) << i;
      EXPECT_EQ(changes.Count, 0) << i;
    }
  }
  TMatrix m;
  EXPECT_FALSE(m.LoadFromFile(PathOf("missing.txt"), true));
}

TEST_F(MatrixStream, SaveWritesBoundsAndColumnsRaw) {
  TIntMatrix m;
  Assign(m, {{1, 2, 3}, {4, 5, 6}});
  std::unique_ptr<TMemoryStream> out;
  m.SaveToStream(out, 2, 0, 3, 0);  // columns 2 .. 3, all rows; the stream is created
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->Bytes(), StreamOfInts({2, 1, 3, 2, 2, 5, 3, 6}).Bytes());

  TMatrix d;
  Assign(d, {{1.5}});
  TMemoryStream s;
  d.SaveToStream(s, 0, 0, 0, 0);
  TMemoryStream expected;
  for (long double x : {1.0L, 1.0L, 1.0L, 1.0L, 1.5L}) WriteExtendedToStream(expected, x);
  EXPECT_EQ(s.Bytes(), expected.Bytes());
}

TEST_F(MatrixStream, RoundTripThroughAFileStreamFromItsPosition) {
  TMatrix m;
  Assign(m, {{0.1, 0.2}, {-3e200, 4}, {5, 6}});
  {
    TFileStream f(PathOf("m.bin"), fmCreate);
    WriteIntToStream(f, 77);  // something before the matrix
    m.SaveToStream(f, 0, 0, 0, 0);
  }
  TFileStream f(PathOf("m.bin"), fmOpenRead);
  f.SetPosition(4);
  TMatrix back;
  ASSERT_TRUE(back.LoadFromStream(&f, true));
  EXPECT_EQ(RowsOf(back), RowsOf(m));
  EXPECT_EQ(f.Position(), f.Size());
}

TEST_F(MatrixStream, LoadReadsAHandWrittenStream) {
  TMemoryStream s = StreamOfInts({1, 2, 2, 3, 10, 20, 30, 40});
  TIntMatrix m;
  ASSERT_TRUE(m.LoadFromStream(&s, true));
  EXPECT_EQ(RowsOf(m), (Rows<int32_t>{{0, 0}, {10, 30}, {20, 40}}));
}

TEST_F(MatrixStream, LoadRefusesBadStreamsWithoutChangingTheMatrix) {
  const std::vector<std::vector<int32_t>> streams = {
      {},
      {1, 1, 1},
      {1, 1, 2, 2, 7, 7, 7},  // truncated
      {0, 1, 1, 1, 5},
      {2, 1, 0, 1, 5},  // reversed
      {1, 1, 2000000000, 2000000000, 1},
      {2000000000, 1, 2000000000, 1, 7},  // one value, storage for 2e9
      {1, 1, 0, 2000000000},
  };
  for (const bool adjust : {true, false}) {
    for (size_t i = 0; i < streams.size(); ++i) {
      TMemoryStream s = StreamOfInts(streams[i]);
      TIntMatrix m;
      Assign(m, {{4, 5}});
      EXPECT_FALSE(m.LoadFromStream(&s, adjust)) << i;
      EXPECT_EQ(RowsOf(m), (Rows<int32_t>{{4, 5}})) << i;
    }
  }
  TMemoryStream s;
  for (long double x : {1.0L, 1.0L, 1.0L, 1e12L, 5.0L}) WriteExtendedToStream(s, x);
  s.SetPosition(0);
  TMatrix m;
  EXPECT_FALSE(m.LoadFromStream(&s, true));
  EXPECT_FALSE(m.LoadFromStream(nullptr, true));
}
