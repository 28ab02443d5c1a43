#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KVL_matrix.h"
#include "KVL_random.h"
#include "KVL_univconst.h"

namespace {

// Rows of values, top row first, into a matrix of matching shape.
template <typename M>
void Load(M& m, const std::vector<std::vector<typename M::Elem>>& rows) {
  const auto nr = static_cast<int32_t>(rows.size());
  const auto nc = static_cast<int32_t>(rows.empty() ? 0 : rows[0].size());
  m.Resize(nc, nr);
  for (int32_t r = 1; r <= nr; ++r)
    for (int32_t c = 1; c <= nc; ++c) m.SetElement(c, r, rows[r - 1][c - 1]);
}

template <typename M>
std::vector<std::vector<typename M::Elem>> Rows(const M& m) {
  std::vector<std::vector<typename M::Elem>> rows(m.NrOfRows());
  for (int32_t r = 1; r <= m.NrOfRows(); ++r)
    for (int32_t c = 1; c <= m.NrOfColumns(); ++c) rows[r - 1].push_back(m.Element(c, r));
  return rows;
}

struct ChangeCounter {
  int count = 0;
  template <typename C>
  explicit ChangeCounter(C& c) {
    c.SetOnChange([this](void*) { ++count; });
  }
};

using Grid = std::vector<std::vector<double>>;

}  // namespace

TEST(Matrix, NewMatrixIsOneByOneZero) {
  TMatrix m;
  EXPECT_EQ(m.NrOfColumns(), 1);
  EXPECT_EQ(m.NrOfRows(), 1);
  EXPECT_EQ(m.Element(1, 1), 0.0);
  EXPECT_EQ(m.DataID(), "");
}

TEST(Matrix, ElementOutsideReadsZeroAndWritesNothing) {
  TMatrix m;
  m.SetElement(1, 1, 4);
  ChangeCounter changes(m);
  for (auto [c, r] : {std::pair{2, 1}, {1, 2}, {0, 1}, {1, 0}, {INT32_MIN, 1}, {1, INT32_MAX}}) {
    EXPECT_EQ(m.Element(c, r), 0.0);
    m.SetElement(c, r, 9);
  }
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(Rows(m), (Grid{{4}}));
}

TEST(Matrix, ResizeKeepsOverlapAndNotifiesEvenWhenUnchanged) {
  TMatrix m;
  Load(m, {{1, 2}, {3, 4}, {5, 6}});  // 2 columns, 3 rows
  ChangeCounter changes(m);
  EXPECT_TRUE(m.Resize(3, 2));
  EXPECT_EQ(Rows(m), (Grid{{1, 2, 0}, {3, 4, 0}}));
  EXPECT_TRUE(m.Resize(3, 2));
  EXPECT_EQ(changes.count, 2);
  m.SetNrOfColumns(-4);
  EXPECT_EQ(m.NrOfColumns(), 0);
  EXPECT_EQ(m.NrOfRows(), 2);
  EXPECT_EQ(m.Element(1, 1), 0.0);
  // The storage keeps one column, so the first column is still there when the count returns.
  m.SetNrOfColumns(2);
  EXPECT_EQ(Rows(m), (Grid{{1, 0}, {3, 0}}));
}

TEST(Matrix, ResizeBeyondStorageLimitFailsAndKeepsMatrix) {
  TMatrix m;
  m.SetName("M1");
  Load(m, {{1, 2}});
  TIntMatrix im;
  for (auto [nc, nr] : {std::pair{INT32_MAX, 1}, {1, INT32_MAX}, {65536, 65536}, {INT32_MAX, INT32_MAX}}) {
    try {
      m.Resize(nc, nr);
      ADD_FAILURE() << nc << " x " << nr;
    } catch (const EKVLMatrixError& e) {
      EXPECT_STREQ(e.what(), "Component \"M1\": not enough memory on heap");
    }
    EXPECT_THROW(im.Resize(nc, nr), EKVLMatrixError);
  }
  EXPECT_EQ(Rows(m), (Grid{{1, 2}}));
  EXPECT_EQ(im.NrOfColumns(), 1);
}

TEST(Matrix, FillsAndScalars) {
  TMatrix m;
  m.Resize(3, 2);
  ChangeCounter changes(m);
  m.Fill(5);
  m.FillDiag(1);
  EXPECT_EQ(Rows(m), (Grid{{1, 5, 5}, {5, 1, 5}}));
  m.SMult(2);
  m.SAdd(-1);
  EXPECT_EQ(Rows(m), (Grid{{1, 9, 9}, {9, 1, 9}}));
  EXPECT_EQ(changes.count, 4);
}

TEST(Matrix, CrcTakesElementsColumnByColumn) {
  TMatrix m;
  Load(m, {{1, 2}, {3, 4}, {5, 6}});
  TVector v;
  v.Resize(6);
  const double columnMajor[] = {1, 3, 5, 2, 4, 6};
  for (int32_t i = 1; i <= 6; ++i) v.SetElement(i, columnMajor[i - 1]);
  EXPECT_EQ(m.CRCofData(), v.CRCofData());
  TIntMatrix im;
  TIntVector iv;
  EXPECT_EQ(im.CRCofData(), iv.CRCofData());
  EXPECT_EQ(im.CRCofData().size(), 32u);
}

TEST(Matrix, CopyRowAndColumnToVector) {
  TMatrix m;
  Load(m, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
  TVector v;
  v.Resize(2);
  m.CopyRowToVec(&v, 0, 0, 0);  // row clamped to 1; all columns, cut to 2
  EXPECT_EQ(v.Element(1), 1.0);
  EXPECT_EQ(v.Element(2), 2.0);
  v.Resize(4);
  m.CopyRowToVec(&v, 9, 5, 4);  // row clamped to 2, columns 4 .. 5, rest zeroed
  EXPECT_EQ(std::vector<double>(v.Data(), v.Data() + 4), (std::vector<double>{9, 10, 0, 0}));
  m.CopyColToVec(&v, 3, 0, 0);
  EXPECT_EQ(std::vector<double>(v.Data(), v.Data() + 4), (std::vector<double>{3, 8, 0, 0}));
  m.CopyColToVec(nullptr, 1, 0, 0);
}

TEST(Matrix, CopyFromClampsAndShifts) {
  TMatrix source;
  Load(source, {{1, 2, 3}, {4, 5, 6}});
  TMatrix m;
  m.Resize(3, 3);
  m.CopyFrom(&source, 3, 0, 2, 99, 2, 2);  // columns 2 .. 3, rows 1 .. 2 to (2, 2)
  EXPECT_EQ(Rows(m), (Grid{{0, 0, 0}, {0, 2, 3}, {0, 5, 6}}));
  m.CopyFrom(&source, 1, 1, 3, 2, -1, 3);  // only column 3 lands, at column 1
  EXPECT_EQ(Rows(m), (Grid{{0, 0, 0}, {0, 2, 3}, {3, 5, 6}}));
  // A block copied onto an overlapping place of the same matrix moves whole.
  TMatrix self;
  Load(self, {{1, 2, 3}});
  self.CopyFrom(&self, 1, 1, 2, 1, 2, 1);
  EXPECT_EQ(Rows(self), (Grid{{1, 1, 2}}));
  TIntMatrix ints;
  Load(ints, {{7, 8}});
  m.CopyFrom(&ints, 0, 0, 0, 0, 1, 1);
  EXPECT_EQ(m.Element(1, 1), 7.0);
}

TEST(Matrix, CopyFromVecRunsDownAColumn) {
  TVector v;
  v.Resize(3);
  for (int32_t i = 1; i <= 3; ++i) v.SetElement(i, 10 * i);
  TMatrix m;
  m.Resize(2, 3);
  m.CopyFromVec(&v, 0, 9, 2, 2);
  EXPECT_EQ(Rows(m), (Grid{{0, 0}, {0, 10}, {0, 20}}));
}

TEST(Matrix, AddSubtractAnswerShapeMismatchWithFalse) {
  TMatrix a, b, c;
  Load(a, {{1, 2}, {3, 4}});
  Load(b, {{10, 20}, {30, 40}});
  Load(c, {{1, 2}});
  ChangeCounter changes(a);
  EXPECT_FALSE(a.Add(&c));
  EXPECT_FALSE(a.Subtract(nullptr));
  EXPECT_EQ(changes.count, 0);
  EXPECT_TRUE(a.Add(&b));
  EXPECT_EQ(Rows(a), (Grid{{11, 22}, {33, 44}}));
  EXPECT_TRUE(a.Subtract(&b));
  EXPECT_EQ(Rows(a), (Grid{{1, 2}, {3, 4}}));
}

TEST(Matrix, MultiplyChecksShapesAndNotifies) {
  TMatrix a, b, res, wrong;
  Load(a, {{1, 2, 3}, {4, 5, 6}});                        // 3 columns, 2 rows
  Load(b, {{1, 0, 2, 1}, {0, 1, 1, 1}, {1, 1, 0, 1}});    // 4 columns, 3 rows
  res.Resize(4, 2);
  wrong.Resize(4, 3);
  wrong.Fill(7);
  ChangeCounter leftChanges(a), resChanges(res);
  EXPECT_FALSE(a.Multiply(&b, &wrong));
  EXPECT_EQ(Rows(wrong)[0], (std::vector<double>{7, 7, 7, 7}));
  EXPECT_TRUE(a.Multiply(&b, &res));
  EXPECT_EQ(Rows(res), (Grid{{4, 5, 4, 6}, {10, 11, 13, 15}}));
  EXPECT_EQ(resChanges.count, 8);
  EXPECT_EQ(leftChanges.count, 1);
  // Into one of its own operands.
  TMatrix sq, id;
  Load(sq, {{1, 2}, {3, 4}});
  Load(id, {{0, 1}, {1, 0}});
  EXPECT_TRUE(sq.Multiply(&id, &sq));
  EXPECT_EQ(Rows(sq), (Grid{{2, 1}, {4, 3}}));
}

TEST(Matrix, TransposeAndMultiply) {
  TMatrix a, b, res;
  Load(a, {{1, 2}, {3, 4}, {5, 6}});  // 2 columns, 3 rows
  Load(b, {{1}, {1}, {2}});
  res.Resize(1, 2);
  EXPECT_TRUE(a.TransposeAndMultiply(&b, &res));
  EXPECT_EQ(Rows(res), (Grid{{14}, {18}}));
  res.Resize(2, 1);
  EXPECT_FALSE(a.TransposeAndMultiply(&b, &res));
  TVector vb, vres;
  vb.Resize(3);
  for (int32_t i = 1; i <= 3; ++i) vb.SetElement(i, b.Element(1, i));
  vres.Resize(2);
  std::vector<double> writes;
  vres.SetOnChange([&](void*) { writes.push_back(vres.Element(writes.size() < 3 ? 1 : 2)); });
  EXPECT_TRUE(a.TransposeAndMultiply(&vb, &vres));
  EXPECT_EQ(writes, (std::vector<double>{1, 4, 14, 2, 6, 18}));  // the growing partial sums
  vres.Resize(3);
  EXPECT_FALSE(a.TransposeAndMultiply(&vb, &vres));
}

TEST(Matrix, TransposeSwapsCounts) {
  TMatrix m;
  Load(m, {{1, 2, 3}, {4, 5, 6}});
  ChangeCounter changes(m);
  EXPECT_TRUE(m.Transpose());
  EXPECT_EQ(Rows(m), (Grid{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_EQ(changes.count, 1);
  TIntMatrix im;
  im.Resize(0, 3);
  im.Transpose();
  EXPECT_EQ(im.NrOfColumns(), 3);
  EXPECT_EQ(im.NrOfRows(), 0);
}

TEST(Matrix, CloneAndAssign) {
  TMatrix source;
  Load(source, {{1, 2}, {3, 4}, {5, 6}});
  source.SetDataID("set");
  int sourceEvents = 0;
  source.SetOnChange([&](void*) { ++sourceEvents; });
  TMatrix clone;
  ChangeCounter changes(clone);
  clone.Clone(&source);
  EXPECT_EQ(Rows(clone), Rows(source));
  EXPECT_EQ(changes.count, 1 + 6 + 1);
  EXPECT_EQ(clone.DataID(), "");

  TMatrix assigned;
  ChangeCounter assignedChanges(assigned);
  assigned.Assign(&source);
  EXPECT_EQ(assignedChanges.count, 0);
  EXPECT_EQ(Rows(assigned), Rows(source));
  EXPECT_EQ(assigned.DataID(), "set");
  assigned.SetElement(1, 1, 9);  // the handler came along with the data
  EXPECT_EQ(sourceEvents, 1);
  TMatrix target;
  source.AssignTo(&target);
  EXPECT_EQ(Rows(target), Rows(source));
  TVector notAMatrix;
  EXPECT_THROW(assigned.Assign(&notAMatrix), EKVLMatrixError);
  EXPECT_THROW(source.AssignTo(&notAMatrix), EKVLMatrixError);
}

TEST(Matrix, RandomFillsDrawColumnByColumnFromTheSharedGenerator) {
  TMatrix m;
  m.Resize(2, 3);
  SetRandomSeed(77);
  std::vector<double> expected;
  for (int i = 0; i < 6; ++i) expected.push_back(-1 + RandomUniform() * 4);
  SetRandomSeed(77);
  m.FillRandomUniform(-1, 3);
  std::vector<double> columnMajor(m.Data(), m.Data() + 6);
  EXPECT_EQ(columnMajor, expected);

  SetRandomSeed(5);
  ClearRandomGaussCache();
  expected.clear();
  for (int i = 0; i < 6; ++i) expected.push_back(RandomGauss() * 2 + 10);
  SetRandomSeed(5);
  ClearRandomGaussCache();
  m.FillRandomGauss(10, 2);
  columnMajor.assign(m.Data(), m.Data() + 6);
  EXPECT_EQ(columnMajor, expected);
}

TEST(IntMatrix, ArithmeticWraps) {
  TIntMatrix a, b, res;
  Load(a, {{INT32_MAX, 65536}});
  Load(b, {{1}, {65536}});
  res.Resize(1, 1);
  EXPECT_TRUE(a.Multiply(&b, &res));
  EXPECT_EQ(res.Element(1, 1), INT32_MAX);  // (2^31 - 1) + 2^32 wraps
  a.SAdd(1);
  EXPECT_EQ(a.Element(1, 1), INT32_MIN);
}
