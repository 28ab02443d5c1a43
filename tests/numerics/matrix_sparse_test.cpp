#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "KVL_matrix.h"

namespace {

using Positions = std::vector<std::pair<int32_t, int32_t>>;

Positions ListOf(const TIntMatrix& m) {
  Positions list;
  for (const TSpMatElemInt& e : m.SparseEntries()) list.emplace_back(e.colidx, e.rowidx);
  return list;
}

std::unique_ptr<TIntMatrix> Sparse(int32_t allocBy) {
  return std::unique_ptr<TIntMatrix>(TIntMatrix::CreateSparse(nullptr, allocBy));
}

}  // namespace

TEST(SparseMatrix, CreateSparseIsEmpty) {
  auto m = Sparse(0);
  EXPECT_TRUE(m->IsSparse());
  EXPECT_EQ(m->NrOfColumns(), 0);
  EXPECT_EQ(m->NrOfRows(), 0);
  EXPECT_EQ(m->SparseAllocBy(), 1);
  EXPECT_EQ(m->SparseNumAllocated(), 1);
  EXPECT_EQ(m->SparseNumElem(), 0);
  EXPECT_EQ(m->SparseLowCol(), INT32_MAX);
  EXPECT_EQ(m->SparseHighCol(), 1);
  TComponent owner;
  TIntMatrix* owned = TIntMatrix::CreateSparse(&owner, 4);
  EXPECT_EQ(owned->Owner(), &owner);  // deleted with the owner
}

TEST(SparseMatrix, WritesKeepTheListSortedAndGrowTheCounts) {
  auto m = Sparse(2);
  int changes = 0;
  m->SetOnChange([&](void*) { ++changes; });
  m->SetElement(3, 5, 7);
  m->SetElement(1, 2, 8);
  m->SetElement(3, 1, 9);
  m->SetElement(0, 1, 1);  // ignored, silent
  m->SetElement(1, -1, 1);
  EXPECT_EQ(ListOf(*m), (Positions{{1, 2}, {3, 1}, {3, 5}}));
  EXPECT_EQ(m->NrOfColumns(), 3);
  EXPECT_EQ(m->NrOfRows(), 5);
  EXPECT_EQ(m->Element(2, 2), 0);
  EXPECT_EQ(m->Element(3, 5), 7);
  EXPECT_EQ(m->SparseNumAllocated(), 4);  // 2, then one step of 2
  EXPECT_EQ(changes, 3);
  m->SetElement(3, 5, 0);  // a zeroed entry stays in the list
  EXPECT_EQ(m->SparseNumElem(), 3);

  EXPECT_TRUE(m->Transpose());
  EXPECT_EQ(ListOf(*m), (Positions{{1, 3}, {2, 1}, {5, 3}}));
  EXPECT_EQ(m->NrOfColumns(), 5);
  EXPECT_EQ(m->NrOfRows(), 3);
  EXPECT_EQ(m->Element(2, 1), 8);
}

TEST(SparseMatrix, DenseRoundTripShrinksToTheBoundingBox) {
  TIntMatrix m;
  m.Resize(4, 4);
  m.SetElement(2, 3, 6);
  int changes = 0;
  m.SetOnChange([&](void*) { ++changes; });
  m.ArrayToSparse(3);
  EXPECT_TRUE(m.IsSparse());
  EXPECT_EQ(m.NrOfColumns(), 4);
  EXPECT_EQ(ListOf(m), (Positions{{2, 3}}));
  m.SparseToArray();
  EXPECT_FALSE(m.IsSparse());
  EXPECT_EQ(m.NrOfColumns(), 2);
  EXPECT_EQ(m.NrOfRows(), 3);
  EXPECT_EQ(m.Element(2, 3), 6);
  EXPECT_EQ(m.SparseNumAllocated(), 0);
  EXPECT_EQ(changes, 0);
  auto empty = Sparse(1);
  empty->SparseToArray();
  EXPECT_EQ(empty->NrOfColumns(), 1);
  EXPECT_EQ(empty->NrOfRows(), 1);
}

TEST(SparseMatrix, FillsAndArithmetic) {
  auto m = Sparse(4);
  m->SetElement(1, 1, 2);
  m->SetElement(2, 3, 5);
  int changes = 0;
  m->SetOnChange([&](void*) { ++changes; });
  m->FillDiag(9);
  EXPECT_EQ(changes, 0);
  m->Fill(4);
  EXPECT_EQ(m->Element(2, 3), 4);
  EXPECT_EQ(m->Element(2, 2), 0);
  m->SMult(3);
  EXPECT_EQ(m->Element(1, 1), 12);

  TIntMatrix dense;
  dense.Resize(2, 3);
  dense.Fill(1);
  TIntMatrix small;
  EXPECT_TRUE(dense.Add(m.get()));
  EXPECT_EQ(dense.Element(1, 1), 13);
  EXPECT_EQ(dense.Element(2, 2), 1);
  EXPECT_FALSE(small.Add(m.get()));  // 1 x 1 does not cover (2, 3)
  EXPECT_FALSE(m->Add(&dense));
  EXPECT_FALSE(m->Subtract(m.get()));
  TIntMatrix res;
  EXPECT_FALSE(dense.Multiply(m.get(), &res));

  m->Fill(0);
  EXPECT_EQ(m->SparseNumElem(), 0);
  EXPECT_EQ(m->SparseNumAllocated(), 4);
  EXPECT_EQ(m->NrOfColumns(), 2);  // the counts stay
  EXPECT_EQ(changes, 3);  // Fill, SMult, Fill
}

TEST(SparseMatrix, CloneOnlyBetweenMatricesOfTheSameKind) {
  auto source = Sparse(5);
  source->SetElement(4, 2, 1);
  auto target = Sparse(1);
  target->Clone(source.get());
  EXPECT_EQ(ListOf(*target), ListOf(*source));
  EXPECT_EQ(target->SparseAllocBy(), 5);
  EXPECT_EQ(target->NrOfColumns(), 4);
  TIntMatrix dense;
  dense.Clone(source.get());
  EXPECT_FALSE(dense.IsSparse());
  EXPECT_EQ(dense.NrOfColumns(), 1);
}

// Random writes, a transpose and a crop, each checked element by element against a plain grid.
TEST(SparseMatrix, AgreesWithADenseReference) {
  constexpr int kSize = 12;
  std::mt19937 gen(7);
  std::uniform_int_distribution<int32_t> pos(1, kSize), val(-3, 3);
  for (int round = 0; round < 20; ++round) {
    auto m = Sparse(1 + round % 4);
    std::vector<std::vector<int32_t>> grid(kSize + 2, std::vector<int32_t>(kSize + 2, 0));
    int32_t nc = 0, nr = 0;
    for (int w = 0; w < 40; ++w) {
      const int32_t c = pos(gen), r = pos(gen), v = val(gen);
      m->SetElement(c, r, v);
      grid[c][r] = v;
      nc = std::max(nc, c);
      nr = std::max(nr, r);
    }
    auto check = [&](const char* stage, bool transposed) {
      SCOPED_TRACE(stage);
      ASSERT_EQ(transposed ? m->NrOfRows() : m->NrOfColumns(), nc);
      ASSERT_EQ(transposed ? m->NrOfColumns() : m->NrOfRows(), nr);
      for (int32_t c = 0; c <= kSize + 1; ++c)
        for (int32_t r = 0; r <= kSize + 1; ++r) {
          const int32_t expected = (c <= nc && r <= nr) ? grid[c][r] : 0;
          ASSERT_EQ(transposed ? m->Element(r, c) : m->Element(c, r), expected) << c << "," << r;
        }
      const Positions list = ListOf(*m);
      ASSERT_TRUE(std::is_sorted(list.begin(), list.end()));
      ASSERT_EQ(std::adjacent_find(list.begin(), list.end()), list.end());
    };
    check("written", false);
    m->Transpose();
    check("transposed", true);
    m->Transpose();
    nc = 8;  // the counts are the new ones; entries beyond them are dropped
    nr = 9;
    m->Resize(nc, nr);
    check("cropped", false);

    TIntMatrix dense;
    dense.Resize(nc, nr);
    for (int32_t c = 1; c <= nc; ++c)
      for (int32_t r = 1; r <= nr; ++r) dense.SetElement(c, r, grid[c][r]);
    EXPECT_EQ(m->CRCofData(), dense.CRCofData());
  }
}

TEST(SparseMatrix, CapacityBeyondStorageLimitIsRefused) {
  try {
    Sparse(INT32_MAX);
    ADD_FAILURE() << "no error";
  } catch (const EKVLMatrixError& e) {
    EXPECT_STREQ(e.what(), "Component \"\": not enough memory on heap");
  }
  TIntMatrix m;
  m.SetName("D");
  m.SetElement(1, 1, 3);
  EXPECT_THROW(m.ArrayToSparse(INT32_MAX), EKVLMatrixError);
  EXPECT_FALSE(m.IsSparse());
  EXPECT_EQ(m.Element(1, 1), 3);
  // A large step within the limit is only a count: nothing is allocated for it up front.
  auto big = Sparse(50'000'000);
  big->SetElement(2, 2, 1);
  EXPECT_EQ(big->SparseNumAllocated(), 50'000'000);
  EXPECT_EQ(big->Element(2, 2), 1);
}

TEST(SparseMatrix, CrcOfALargeNearlyEmptyMatrixEqualsItsDenseForm) {
  auto m = Sparse(8);
  m->SetElement(1, 1, 2);
  m->SetElement(300, 400, 5);
  m->SetElement(120, 7, -1);
  m->Resize(301, 400);  // an empty last column
  TIntMatrix dense;
  dense.Resize(301, 400);
  dense.SetElement(1, 1, 2);
  dense.SetElement(300, 400, 5);
  dense.SetElement(120, 7, -1);
  EXPECT_EQ(m->CRCofData(), dense.CRCofData());
  m->Resize(2'000'000'000, 2'000'000'000);  // 4e18 elements: skipped, not visited
  EXPECT_EQ(m->CRCofData().size(), 32u);
}
