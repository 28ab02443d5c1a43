// Binary matrix files of TMatrix and sparse-matrix files of TIntMatrix.
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "KVL_matrix.h"
#include "persist_tempdir.h"

namespace {

std::string LE32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}

std::string LE64(double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, 8);
  std::string s(8, '\0');
  for (int i = 0; i < 8; ++i) s[i] = static_cast<char>(bits >> (8 * i));
  return s;
}

std::string BinaryFile(uint32_t columns, uint32_t rows, const std::string& id,
                       const std::vector<double>& values, const std::string& magic = "KVLMATRX",
                       uint32_t version = 1) {
  std::string s = magic + LE32(version) + LE32(columns) + LE32(rows) + LE32(id.size()) + id;
  for (double v : values) s += LE64(v);
  return s;
}

std::vector<std::vector<int32_t>> EntriesOf(const TIntMatrix& m) {
  std::vector<std::vector<int32_t>> list;
  for (const TSpMatElemInt& e : m.SparseEntries()) list.push_back({e.colidx, e.rowidx, e.value});
  return list;
}

class MatrixBinary : public PersistTest {};
class SparseFile : public PersistTest {};

}  // namespace

TEST_F(MatrixBinary, SaveWritesHeaderIdentifierAndColumns) {
  TMatrix m;
  m.Resize(2, 1);
  m.SetElement(1, 1, 1.5);
  m.SetElement(2, 1, -0.25);
  m.SetDataID("ab");
  m.SaveBinary(PathOf("m.bin"));
  EXPECT_EQ(Read(PathOf("m.bin")), BinaryFile(2, 1, "ab", {1.5, -0.25}));
  EXPECT_THROW(m.SaveBinary(UnwritablePath()), EFileError);
}

TEST_F(MatrixBinary, RoundTripAndHeader) {
  TMatrix m;
  m.Resize(3, 4);
  m.FillRandomGauss(0, 1e100);
  m.SetElement(2, 3, std::numeric_limits<double>::quiet_NaN());
  m.SetDataID("Ünïcode");
  m.SaveBinary(PathOf("m.bin"));
  int32_t columns = -1, rows = -1;
  std::string id;
  ASSERT_TRUE(TMatrix::ReadBinaryHeader(PathOf("m.bin"), columns, rows, id));
  EXPECT_EQ(columns, 3);
  EXPECT_EQ(rows, 4);
  EXPECT_EQ(id, "Ünïcode");
  TMatrix back;
  int changes = 0;
  back.SetOnChange([&changes](void*) { ++changes; });
  ASSERT_TRUE(back.LoadBinary(PathOf("m.bin")));
  EXPECT_EQ(back.CRCofData(), m.CRCofData());
  EXPECT_EQ(back.DataID(), "Ünïcode");
  EXPECT_EQ(changes, 1);

  TMatrix empty;
  empty.Resize(0, 5);
  empty.SaveBinary(PathOf("e.bin"));
  ASSERT_TRUE(back.LoadBinary(PathOf("e.bin")));
  EXPECT_EQ(back.NrOfColumns(), 0);
  EXPECT_EQ(back.NrOfRows(), 5);
}

TEST_F(MatrixBinary, LoadReadsAHandWrittenFile) {
  TMatrix m;
  ASSERT_TRUE(m.LoadBinary(Write("m.bin", BinaryFile(1, 2, "", {3, 4}))));
  EXPECT_EQ(m.NrOfColumns(), 1);
  EXPECT_EQ(m.Element(1, 2), 4);
}

TEST_F(MatrixBinary, LoadRefusesBadFilesWithoutChangingTheMatrix) {
  const std::string good = BinaryFile(2, 1, "id", {1, 2});
  const std::string files[] = {
      "",
      good.substr(0, 23),                             // header cut
      good.substr(0, good.size() - 1),                // value cut
      good + "x",                                     // trailing byte
      BinaryFile(2, 1, "id", {1, 2}, "KVLMATRY"),     // magic
      BinaryFile(2, 1, "id", {1, 2}, "KVLMATRX", 2),  // version
      BinaryFile(0x80000000u, 1, "", {}),             // negative count
      BinaryFile(2000000000, 2000000000, "", {1}),    // more values than the file holds
      BinaryFile(0, 2000000000, "", {}),              // storage no 24-byte file justifies
      good.substr(0, 20) + LE32(0xFFFFFFFFu) + "id",  // identifier longer than the file
  };
  for (size_t i = 0; i < std::size(files); ++i) {
    const std::string path = Write("bad.bin", files[i]);
    TMatrix m;
    m.SetElement(1, 1, 7);
    m.SetDataID("before");
    int changes = 0;
    m.SetOnChange([&changes](void*) { ++changes; });
    EXPECT_FALSE(m.LoadBinary(path)) << i;
    EXPECT_EQ(m.NrOfColumns(), 1) << i;
    EXPECT_EQ(m.Element(1, 1), 7) << i;
    EXPECT_EQ(m.DataID(), "before") << i;
    EXPECT_EQ(changes, 0) << i;
    int32_t columns = -1, rows = -1;
    std::string id = "kept";
    EXPECT_FALSE(TMatrix::ReadBinaryHeader(path, columns, rows, id)) << i;
    EXPECT_EQ(columns, -1) << i;
    EXPECT_EQ(id, "kept") << i;
  }
  TMatrix m;
  EXPECT_FALSE(m.LoadBinary(PathOf("missing.bin")));
}

TEST_F(SparseFile, StoreWritesCountsAndEntries) {
  std::unique_ptr<TIntMatrix> m(TIntMatrix::CreateSparse(nullptr, 3));
  m->SetElement(3, 5, 7);
  m->SetElement(1, 2, -1);
  m->SetElement(1, 2, 0);  // a stored 0 stays an entry
  ASSERT_TRUE(m->StoreSparseMat(PathOf("s.txt")));
  EXPECT_EQ(Read(PathOf("s.txt")), "3 5 2\r\n1 2 0\r\n3 5 7\r\n");

  TIntMatrix dense;
  dense.Resize(2, 2);
  dense.SetElement(2, 1, 4);
  ASSERT_TRUE(dense.StoreSparseMat(PathOf("d.txt")));
  EXPECT_EQ(Read(PathOf("d.txt")), "2 2 1\r\n2 1 4\r\n");
  EXPECT_FALSE(dense.StoreSparseMat(UnwritablePath()));
}

TEST_F(SparseFile, LoadMakesTheMatrixSparse) {
  std::unique_ptr<TIntMatrix> m(TIntMatrix::CreateSparse(nullptr, 3));
  m->SetElement(3, 5, 7);
  m->SetElement(1, 2, -1);
  m->Resize(6, 8);  // counts beyond the entries survive the trip
  ASSERT_TRUE(m->StoreSparseMat(PathOf("s.txt")));

  TIntMatrix back;  // dense before
  int changes = 0;
  back.SetOnChange([&changes](void*) { ++changes; });
  ASSERT_TRUE(back.LoadSparseMat(PathOf("s.txt")));
  EXPECT_TRUE(back.IsSparse());
  EXPECT_EQ(back.NrOfColumns(), 6);
  EXPECT_EQ(back.NrOfRows(), 8);
  EXPECT_EQ(EntriesOf(back), EntriesOf(*m));
  EXPECT_EQ(back.CRCofData(), m->CRCofData());
  EXPECT_EQ(changes, 1);

  ASSERT_TRUE(m->LoadSparseMat(Write("h.txt", "4 4 2\n1 4 -3\n\n4   1 9")));
  EXPECT_EQ(EntriesOf(*m), (std::vector<std::vector<int32_t>>{{1, 4, -3}, {4, 1, 9}}));
  EXPECT_EQ(m->SparseAllocBy(), 3);  // kept
  EXPECT_EQ(m->SparseLowCol(), 1);
  EXPECT_EQ(m->SparseHighCol(), 4);
}

TEST_F(SparseFile, LoadRefusesBadFilesWithoutChangingTheMatrix) {
  const char* const files[] = {
      "",
      "2 2",
      "2 2 1 1 1",    // entry cut
      "2 2 1 1 1 x",  // text for a number
      "2 2 1 1 1 1.5",
      "-1 2 0",  // negative count
      "2 2 -1",
      "2 2 1 3 1 5",  // outside the counts
      "2 2 1 0 1 5",
      "2 2 2 2 1 5 1 2 6",     // out of order
      "2 2 2 1 1 5 1 1 6",     // repeated
      "2 2 2000000000 1 1 1",  // more entries than the file holds
  };
  for (size_t i = 0; i < std::size(files); ++i) {
    TIntMatrix m;
    m.SetElement(1, 1, 7);
    int changes = 0;
    m.SetOnChange([&changes](void*) { ++changes; });
    EXPECT_FALSE(m.LoadSparseMat(Write("bad.txt", files[i]))) << i;
    EXPECT_FALSE(m.IsSparse()) << i;
    EXPECT_EQ(m.Element(1, 1), 7) << i;
    EXPECT_EQ(changes, 0) << i;
  }
  TIntMatrix m;
  EXPECT_FALSE(m.LoadSparseMat(PathOf("missing.txt")));
}
