#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <set>

#include "KVL_dstruct.h"
#include "KVL_random.h"

namespace {

// The indices whose bit is true, read bit by bit through BitValue.
std::set<int32_t> TrueBits(const TBitFld& field) {
  std::set<int32_t> bits;
  for (int32_t i = 0; i <= field.Size(); ++i)
    if (field.BitValue(i)) bits.insert(i);
  return bits;
}

void SetBits(TBitFld& field, std::initializer_list<int32_t> bits) {
  for (const int32_t i : bits) field.SetBitValue(i, true);
}

// Random fills change the shared generator; leave it as other tests found it.
class BitFieldRandom : public ::testing::Test {
 protected:
  void SetUp() override { FSavedSeed = RandomSeed(); }
  void TearDown() override { SetRandomSeed(FSavedSeed); }

 private:
  uint32_t FSavedSeed = 0;
};

}  // namespace

TEST(BitFld, NewFieldHasSize1000AndIndexSizeIsValid) {
  TBitFld field;
  EXPECT_EQ(field.Size(), 1000);
  EXPECT_EQ(field.CountTrueBits(), 0);
  field.SetBitValue(1000, true);
  EXPECT_TRUE(field.BitValue(1000));
  for (const int32_t outside : {1001, -1, std::numeric_limits<int32_t>::min()}) {
    field.SetBitValue(outside, true);
    field.ToggleBit(outside);
    EXPECT_FALSE(field.BitValue(outside)) << outside;
  }
  EXPECT_EQ(TrueBits(field), std::set<int32_t>{1000});
}

TEST(BitFld, CountSearchAndList) {
  TBitFld field;
  field.SetSize(10);
  field.Clear();
  SetBits(field, {3, 10});
  EXPECT_EQ(field.CountTrueBits(), 2);
  EXPECT_EQ(field.FirstTrueBit(), 3);
  TIntArray list{99};
  field.MakeListOfBits(list, true);
  EXPECT_EQ(list, (TIntArray{3, 10}));
  field.MakeListOfBits(list, false);
  EXPECT_EQ(list, (TIntArray{0, 1, 2, 4, 5, 6, 7, 8, 9}));
  field.SetBitValue(3, false);
  EXPECT_EQ(field.FirstTrueBit(), 10);
  field.ToggleBit(10);
  EXPECT_EQ(field.FirstTrueBit(), -1);
  EXPECT_EQ(field.CountTrueBits(), 0);
}

// Sizes around byte boundaries: the last bit is found and the spare bits of the last byte,
// which Invert sets, never count.
TEST(BitFld, LastByteIsMaskedAtEverySize) {
  for (const int32_t size : {1, 6, 7, 8, 9, 15, 16, 17, 1000}) {
    TBitFld field;
    field.SetSize(size);
    field.Clear();
    EXPECT_EQ(field.FirstTrueBit(), -1) << size;
    field.SetBitValue(size, true);
    EXPECT_EQ(field.FirstTrueBit(), size) << size;
    field.Invert();
    EXPECT_EQ(field.CountTrueBits(), size) << size;
    EXPECT_FALSE(field.BitValue(size)) << size;
    for (int32_t i = 0; i < size; ++i) field.SetBitValue(i, false);
    EXPECT_EQ(field.CountTrueBits(), 0) << size;
    EXPECT_EQ(field.FirstTrueBit(), -1) << size;
    TIntArray list;
    field.MakeListOfBits(list, true);
    EXPECT_TRUE(list.empty()) << size;
    field.MakeListOfBits(list, false);
    EXPECT_EQ(list.size(), static_cast<size_t>(size) + 1) << size;
  }
}

TEST(BitFld, SizeRules) {
  TBitFld field;
  field.SetSize(10);
  SetBits(field, {0, 7, 10});
  for (const int32_t ignored : {0, -3, std::numeric_limits<int32_t>::min(), 10}) {
    field.SetSize(ignored);
    EXPECT_EQ(field.Size(), 10) << ignored;
  }
  field.SetSize(20);
  EXPECT_EQ(TrueBits(field), (std::set<int32_t>{0, 7, 10}));
  field.SetSize(5);
  EXPECT_EQ(TrueBits(field), (std::set<int32_t>{0}));
  field.SetSize(20);  // bits dropped by shrinking do not come back
  EXPECT_EQ(TrueBits(field), (std::set<int32_t>{0}));
}

// Spare bits set by Invert, a full random fill or a negated combination must not reappear as
// field bits when the field grows.
TEST(BitFld, GrowingAddsFalseBitsEvenAfterSpareBitsWereSet) {
  TBitFld other;
  other.SetSize(10);
  TBitFld field;
  field.SetSize(10);
  const std::function<void()> setters[] = {
      [&] { field.Clear(); field.Invert(); },
      [&] { field.RandomFill(100.0); },
      [&] { field.Clear(); field.CombineWith(other, loORNot); },
      [&] { field.Clear(); field.CombineWith(other, loXORNot); },
  };
  for (size_t i = 0; i < std::size(setters); ++i) {
    field.SetSize(10);
    setters[i]();
    ASSERT_EQ(field.CountTrueBits(), 11) << "row " << i;
    field.SetSize(20);
    EXPECT_EQ(field.CountTrueBits(), 11) << "row " << i;
    EXPECT_EQ(field.FirstTrueBit(), 0) << "row " << i;
    EXPECT_FALSE(field.BitValue(11)) << "row " << i;
  }
}

TEST(BitFld, CombineWithEveryOperation) {
  TBitFld a, s;
  a.SetSize(10);
  s.SetSize(10);
  const struct {
    TLogicOp Op;
    bool (*Expected)(bool, bool);
  } cases[] = {
      {loAND, [](bool x, bool y) { return x && y; }},
      {loOR, [](bool x, bool y) { return x || y; }},
      {loXOR, [](bool x, bool y) { return x != y; }},
      {loANDNot, [](bool x, bool y) { return x && !y; }},
      {loORNot, [](bool x, bool y) { return x || !y; }},
      {loXORNot, [](bool x, bool y) { return x == y; }},
  };
  for (const auto& c : cases) {
    a.Clear();
    s.Clear();
    SetBits(a, {0, 1, 8, 10});
    SetBits(s, {1, 2, 9, 10});
    const auto before = TrueBits(a);
    const auto second = TrueBits(s);
    a.CombineWith(s, c.Op);
    for (int32_t i = 0; i <= 10; ++i)
      EXPECT_EQ(a.BitValue(i), c.Expected(before.count(i) > 0, second.count(i) > 0))
          << "op " << int{c.Op} << " bit " << i;
    EXPECT_EQ(TrueBits(s), second) << "op " << int{c.Op};
  }
}

TEST(BitFld, CombineWithIgnoresOtherSizesAndUnknownOperations) {
  TBitFld a, b;
  a.SetSize(10);
  b.SetSize(11);
  SetBits(a, {2, 4});
  SetBits(b, {3});
  a.CombineWith(b, loOR);
  EXPECT_EQ(TrueBits(a), (std::set<int32_t>{2, 4}));
  b.SetSize(10);
  a.CombineWith(b, static_cast<TLogicOp>(6));
  EXPECT_EQ(TrueBits(a), (std::set<int32_t>{2, 4}));
  a.CombineWith(a, loXOR);  // with itself
  EXPECT_EQ(a.CountTrueBits(), 0);
}

TEST(BitFld, CloneCopiesSizeAndBits) {
  TBitFld source, copy;
  source.SetSize(37);
  SetBits(source, {0, 17, 37});
  SetBits(copy, {500});
  copy.Clone(&source);
  EXPECT_EQ(copy.Size(), 37);
  EXPECT_EQ(TrueBits(copy), TrueBits(source));
  copy.Clone(nullptr);
  copy.Clone(&copy);
  EXPECT_EQ(copy.Size(), 37);
  EXPECT_EQ(TrueBits(copy), (std::set<int32_t>{0, 17, 37}));
}

TEST_F(BitFieldRandom, FillCountsAreExact) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    int32_t Size;
    double Percent;  // used when NBits is negative
    int32_t NBits;
    int32_t Expected;
  } cases[] = {
      {10, 100.0, -1, 11}, {10, 250.0, -1, 11}, {10, 0.0, -1, 0},   {10, -5.0, -1, 0},
      {10, nan, -1, 0},    {999, 50.0, -1, 500}, {1000, 50.0, -1, 500}, {10, 0, 3, 3},
      {10, 0, 8, 8},       {10, 0, 11, 11},     {10, 0, 50, 11},    {10, 0, 0, 0},
      {1, 0, 1, 1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TBitFld field;
    field.SetSize(cases[i].Size);
    SetBits(field, {0, 1});
    if (cases[i].NBits < 0)
      field.RandomFill(cases[i].Percent);
    else
      field.RandomFill(cases[i].NBits);
    EXPECT_EQ(field.CountTrueBits(), cases[i].Expected) << "row " << i;
  }
  TBitFld field;
  field.SetSize(10);
  field.RandomFill(int32_t{-2});
  EXPECT_EQ(field.CountTrueBits(), 0);
}

// Indices are Round(r × Size) from the shared generator: the bits placed are the first distinct
// draws, set on a clear field for few bits and cleared on a full one for many.
TEST_F(BitFieldRandom, FillDrawsFromTheSharedGenerator) {
  const auto firstDistinctDraws = [](int32_t size, size_t count) {
    std::set<int32_t> drawn;
    while (drawn.size() < count)
      drawn.insert(static_cast<int32_t>(std::nearbyint(RandomUniform() * size)));
    return drawn;
  };
  for (const uint32_t seed : {1u, 77u, 0xDEADBEEFu}) {
    TBitFld field;
    field.SetSize(10);
    SetRandomSeed(seed);
    field.RandomFill(3);
    SetRandomSeed(seed);
    EXPECT_EQ(TrueBits(field), firstDistinctDraws(10, 3)) << seed;

    SetRandomSeed(seed);
    field.RandomFill(8);
    SetRandomSeed(seed);
    const auto cleared = firstDistinctDraws(10, 3);
    for (int32_t i = 0; i <= 10; ++i)
      EXPECT_EQ(field.BitValue(i), cleared.count(i) == 0) << seed << " bit " << i;
  }
}

TEST(BitFld, LargestSizeWorksAndLargerIsRefused) {
  TBitFld field;
  field.SetName("Flags");
  try {
    field.SetSize(std::numeric_limits<int32_t>::max());
    ADD_FAILURE() << "no error";
  } catch (const EKVLDStructError& e) {
    EXPECT_STREQ(e.what(), "Component \"Flags\": size too large");
  }
  EXPECT_EQ(field.Size(), 1000);

  field.SetSize(TBitFld::kMaxSize);
  field.SetBitValue(TBitFld::kMaxSize, true);
  EXPECT_TRUE(field.BitValue(TBitFld::kMaxSize));
  EXPECT_EQ(field.CountTrueBits(), 1);
  EXPECT_EQ(field.FirstTrueBit(), TBitFld::kMaxSize);
}
