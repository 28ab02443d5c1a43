#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "KVL_matrix.h"
#include "matrix_algebra_helpers.h"

using namespace matrix_algebra_test;

namespace {

using G = Grid<TMatrix>;
using IG = Grid<TIntMatrix>;

struct Exchange {
  int what;
  int32_t index1, index2, first, last;
  bool operator==(const Exchange&) const = default;
};

struct ExchangeLog {
  std::vector<Exchange> events;
  template <typename M>
  explicit ExchangeLog(M& m) {
    m.SetOnSortExchange([this](void*, uint8_t what, int32_t i1, int32_t i2, int32_t first,
                               int32_t last) { events.push_back({what, i1, i2, first, last}); });
  }
};

}  // namespace

TEST(MatrixSort, SortRowsByAColumnRaisesOneEventPerExchange) {
  TMatrix a;
  const G original{{3, 30, 300}, {1, 10, 100}, {2, 20, 200}, {1, 11, 111}};
  Load(a, original);
  ExchangeLog log(a);
  ChangeCounter changes(a);
  a.SortRows(1, true, 0, 0, 0, 0);
  EXPECT_EQ(Rows(a), (G{{1, 10, 100}, {1, 11, 111}, {2, 20, 200}, {3, 30, 300}}));
  EXPECT_EQ(changes.count, 1);
  ASSERT_FALSE(log.events.empty());
  // Replaying the reported exchanges on the original rows gives the result.
  G replay = original;
  for (const Exchange& e : log.events) {
    EXPECT_EQ(e.what, 2);
    EXPECT_EQ(e.first, 1);
    EXPECT_EQ(e.last, 3);
    std::swap(replay[e.index1 - 1], replay[e.index2 - 1]);
  }
  EXPECT_EQ(replay, Rows(a));
}

TEST(MatrixSort, RowRangeAndKeyOutsideTheColumnRange) {
  TMatrix a;
  Load(a, G{{1, 3, 0}, {2, 1, 0}, {3, 2, 0}, {4, 0, 0}});
  ExchangeLog log(a);
  // Rows 1 .. 3 by column 2, descending; only column 1 (and the key column 2) move.
  a.SortRows(2, false, 1, 1, 1, 3);
  EXPECT_EQ(Rows(a), (G{{1, 3, 0}, {3, 2, 0}, {2, 1, 0}, {4, 0, 0}}));
  EXPECT_EQ(log.events, (std::vector<Exchange>{{2, 2, 3, 1, 1}}));
}

TEST(MatrixSort, SortColsByARow) {
  TIntMatrix a;
  Load(a, IG{{7, 7, 7}, {3, 1, 2}, {30, 10, 20}});
  ExchangeLog log(a);
  a.SortCols(2, true, 0, 0, 0, 0);
  EXPECT_EQ(Rows(a), (IG{{7, 7, 7}, {1, 2, 3}, {10, 20, 30}}));
  ASSERT_FALSE(log.events.empty());
  for (const Exchange& e : log.events) EXPECT_EQ((std::vector<int>{e.what, e.first, e.last}), (std::vector<int>{1, 1, 3}));
  // Equal keys are never exchanged.
  log.events.clear();
  a.SortCols(1, false, 0, 0, 0, 0);
  EXPECT_TRUE(log.events.empty());
}

TEST(MatrixSort, NothingToSort) {
  TMatrix a;
  Load(a, G{{2, 1}, {1, 2}});
  ChangeCounter changes(a);
  a.SortRows(1, true, 0, 2, 0, 2);  // one row
  a.SortCols(1, true, 2, 0, 2, 0);  // one column
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(Rows(a), (G{{2, 1}, {1, 2}}));
  a.SortRows(5, true, 0, 0, 0, 0);  // a key column outside the matrix reads 0 everywhere
  EXPECT_EQ(Rows(a), (G{{2, 1}, {1, 2}}));
}

TEST(MatrixReorder, MirrorAndExchange) {
  const G start{{1, 2, 3}, {4, 5, 6}};
  const struct {
    void (*op)(TMatrix&);
    G expected;
  } cases[] = {
      {[](TMatrix& m) { m.MirrorColumns(); }, {{3, 2, 1}, {6, 5, 4}}},
      {[](TMatrix& m) { m.MirrorRows(); }, {{4, 5, 6}, {1, 2, 3}}},
      {[](TMatrix& m) { m.ExchangeColumns(1, 3); }, {{3, 2, 1}, {6, 5, 4}}},
      {[](TMatrix& m) { m.ExchangeRows(2, 1); }, {{4, 5, 6}, {1, 2, 3}}},
      {[](TMatrix& m) { m.ExchangeColumns(0, 2); }, start},  // invalid: left alone
      {[](TMatrix& m) { m.ExchangeRows(1, 3); }, start},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TMatrix a;
    Load(a, start);
    ExchangeLog log(a);
    ChangeCounter changes(a);
    cases[i].op(a);
    EXPECT_EQ(Rows(a), cases[i].expected) << "case " << i;
    EXPECT_EQ(changes.count, cases[i].expected == start ? 0 : 1) << "case " << i;
    EXPECT_TRUE(log.events.empty());
  }
}

TEST(MatrixFind, NearestElementInTheBlock) {
  TMatrix a;
  Load(a, G{{1, 5, 9}, {4, 7, 4.5}});  // column by column: 1 4 | 5 7 | 9 4.5
  int32_t col = -1, row = -1;
  const struct {
    int32_t lowCol, highCol, lowRow, highRow;
    double value;
    int32_t col, row;
  } cases[] = {
      {0, 0, 0, 0, 4.6, 3, 2},  // 4.5
      {0, 0, 0, 0, 4.5, 3, 2},
      {0, 0, 0, 0, 4.75, 2, 1},  // 5 and 4.5 equally near: the first in column order wins
      {2, 2, 0, 0, 100, 2, 2},   // column 2 only
      {0, 0, 1, 1, 3, 1, 1},     // row 1 only: 1 and 5 tie, column 1 first
      {3, 1, 2, 1, 6.1, 2, 2},   // reversed bounds
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    a.Find(c.lowCol, c.highCol, c.lowRow, c.highRow, c.value, col, row);
    EXPECT_EQ(col, c.col) << "case " << i;
    EXPECT_EQ(row, c.row) << "case " << i;
  }
  Load(a, G{{1.7e308}});  // nothing nearer than 1.7e308
  a.Find(0, 0, 0, 0, -1e300, col, row);
  EXPECT_EQ(col, 0);
  EXPECT_EQ(row, 0);
}

TEST(MatrixFind, BinarySearchDownAColumn) {
  TIntMatrix a;
  Load(a, IG{{0, 1, 7}, {0, 3, 5}, {0, 5, 3}, {0, 7, 1}});  // column 2 ascending, 3 descending
  const struct {
    int32_t col;
    bool ascending;
    int32_t value, expected;
  } cases[] = {
      {2, true, 4, 3},  // 3 and 5 equally near: the later row
      {2, true, 5, 3},  {2, true, 7, 4},  {2, true, -10, 1}, {2, true, 100, 4},
      {3, false, 4, 3}, {3, false, 6, 2}, {3, false, 1, 4},  {9, true, 1, 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(a.FindInSortedColumn(cases[i].col, cases[i].ascending, cases[i].value), cases[i].expected)
        << "case " << i;
  a.Resize(3, 0);
  EXPECT_EQ(a.FindInSortedColumn(2, true, 1), 0);
}

TEST(MatrixReorder, SparseMatricesAreLeftAlone) {
  std::unique_ptr<TIntMatrix> s(TIntMatrix::CreateSparse(nullptr, 4));
  s->SetElement(1, 2, 5);
  s->SetElement(2, 1, 3);
  ChangeCounter changes(*s);
  s->SortRows(1, true, 0, 0, 0, 0);
  s->MirrorColumns();
  s->ExchangeRows(1, 2);
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(s->Element(1, 2), 5);
  EXPECT_EQ(s->Element(2, 1), 3);
  int32_t col = 0, row = 0;
  s->Find(0, 0, 0, 0, 4, col, row);  // 5 and 3 equally near 4; (1, 1) reads 0
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 2);
}
