#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "KVL_crclanes.h"
#include "KVL_vector.h"

namespace {

template <typename V>
void Load(V& v, const std::vector<typename V::Elem>& values) {
  v.Resize(static_cast<int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) v.SetElement(static_cast<int32_t>(i + 1), values[i]);
}

template <typename V>
std::vector<typename V::Elem> Values(const V& v) {
  return {v.Data(), v.Data() + v.NrOfElem()};
}

// Counts OnChange calls of one object.
struct ChangeCounter {
  int count = 0;
  template <typename C>
  explicit ChangeCounter(C& c) {
    c.SetOnChange([this, &c](void* sender) {
      EXPECT_EQ(sender, &c);
      ++count;
    });
  }
};

std::string ThrownMessage(auto&& action) {
  try {
    action();
  } catch (const EKVLVectorError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no EKVLVectorError";
  return {};
}

}  // namespace

TEST(LaneCrc, SingleLaneIsStandardCrc32) {
  const char text[] = "123456789";
  TLaneCrc32<char> crc;
  crc.Absorb(text, std::strlen(text));
  EXPECT_EQ(crc.Text(), "CBF43926");
}

TEST(LaneCrc, SkippingZerosEqualsAbsorbingThem) {
  for (uint64_t count : {0u, 1u, 2u, 3u, 255u, 4096u, 65537u, 1'000'003u}) {
    TLaneCrc32<int32_t> skipped, absorbed;
    skipped.Absorb(-7);
    absorbed.Absorb(-7);
    skipped.AbsorbZeros(count);
    const std::vector<int32_t> zeros(count, 0);
    absorbed.Absorb(zeros.data(), zeros.size());
    EXPECT_EQ(skipped.Text(), absorbed.Text()) << count;
  }
}

TEST(Vector, NewVectorHasOneZeroElementAndIsEmpty) {
  TVector v;
  TIntVector iv;
  EXPECT_EQ(v.NrOfElem(), 1);
  EXPECT_EQ(v.Element(1), 0.0);
  EXPECT_TRUE(v.IsEmpty());
  EXPECT_EQ(iv.NrOfElem(), 1);
  EXPECT_TRUE(iv.IsEmpty());
}

TEST(Vector, CrcOfData) {
  const std::string zeroByte = "D202EF8D";
  TVector v;
  TIntVector iv;
  std::string eight, four;
  for (int i = 0; i < 8; ++i) eight += zeroByte;
  for (int i = 0; i < 4; ++i) four += zeroByte;
  EXPECT_EQ(v.CRCofData(), eight);
  EXPECT_EQ(iv.CRCofData(), four);
  v.SetElement(1, 1.0);  // bytes 00 00 00 00 00 00 F0 3F
  std::string expected;
  for (int i = 0; i < 6; ++i) expected += zeroByte;
  EXPECT_EQ(v.CRCofData(), expected + "6FBF1D91" + "6464C2B0");
}

TEST(Vector, ElementOutsideRangeReadsZeroAndWritesNothing) {
  TVector v;
  Load(v, {1, 2, 3});
  ChangeCounter changes(v);
  for (int32_t ix : {0, 4, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(v.Element(ix), 0.0) << ix;
    v.SetElement(ix, 9);
  }
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3}));
  v.SetElement(2, 7);
  EXPECT_EQ(changes.count, 1);
  EXPECT_FALSE(v.IsEmpty());
}

TEST(Vector, ResizeRules) {
  TVector v;
  Load(v, {1, 2, 3});
  ChangeCounter changes(v);
  v.SetNrOfElem(0);
  v.SetNrOfElem(2);  // not above the count: ignored
  EXPECT_FALSE(v.Resize(-5));
  EXPECT_TRUE(v.Resize(3));
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3}));
  v.SetNrOfElem(5);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3, 0, 0}));
  EXPECT_TRUE(v.Resize(2));
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2}));
  EXPECT_EQ(changes.count, 2);
}

TEST(Vector, ResizeBeyondStorageLimitFailsAndKeepsVector) {
  TVector v;
  v.SetName("V1");
  Load(v, {1, 2});
  TIntVector iv;
  iv.SetName("I1");
  EXPECT_EQ(ThrownMessage([&] { v.Resize(INT32_MAX); }),
            "Component \"V1\": not enough memory");
  EXPECT_EQ(ThrownMessage([&] { iv.SetNrOfElem(INT32_MAX); }),
            "Component \"I1\": not enough memory");
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2}));
  EXPECT_EQ(iv.NrOfElem(), 1);
}

TEST(Vector, CloneNotifiesForResizeEachWriteAndAtEnd) {
  TVector source, v;
  Load(source, {4, 5, 6});
  ChangeCounter changes(v);
  v.Clone(&source);
  EXPECT_EQ(changes.count, 5);
  EXPECT_EQ(Values(v), (std::vector<double>{4, 5, 6}));
  v.Clone(nullptr);
  EXPECT_EQ(changes.count, 5);
}

TEST(Vector, BulkOperationsNotifyOnceAndKeepIsEmpty) {
  TVector v, w;
  v.Resize(3);
  w.Resize(3);
  ChangeCounter changes(v);
  v.Add(&w);
  v.Subtract(&w);
  v.SMult(2);
  EXPECT_EQ(changes.count, 3);
  EXPECT_TRUE(v.IsEmpty());
  v.Fill(2.5);
  EXPECT_FALSE(v.IsEmpty());
  EXPECT_EQ(Values(v), (std::vector<double>{2.5, 2.5, 2.5}));
  v.Clear();
  EXPECT_TRUE(v.IsEmpty());
  EXPECT_EQ(changes.count, 5);
}

TEST(Vector, CopyFromClampsSourceRangeAndDropsWritesOutside) {
  struct Case {
    int32_t lo, hi, dest;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {0, 99, 1, {10, 20, 30, 0}},   // clamped to 1 .. 3
      {3, 2, 2, {0, 20, 30, 0}},     // reversed pair swapped
      {1, 3, 3, {0, 0, 10, 20}},     // element 30 would land at 5: dropped
      {1, 3, -1, {30, 0, 0, 0}},     // 10 and 20 would land at -1 and 0
      {2, 2, INT32_MAX, {0, 0, 0, 0}},
  };
  TVector source;
  Load(source, {10, 20, 30});
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TVector v;
    v.Resize(4);
    v.CopyFrom(&source, cases[i].lo, cases[i].hi, cases[i].dest);
    EXPECT_EQ(Values(v), cases[i].expected) << "case " << i;
  }
  // Within one vector the range moves whole.
  source.CopyFrom(&source, 1, 2, 2);
  EXPECT_EQ(Values(source), (std::vector<double>{10, 10, 20}));
}

TEST(Vector, ArithmeticErrorsAndAbsentOperands) {
  TVector a, b;
  a.SetName("A");
  Load(a, {1, 2, 3});
  Load(b, {1, 2});
  const std::string differ = "Component \"A\": vectors have different dimensions";
  EXPECT_EQ(ThrownMessage([&] { a.Add(&b); }), differ);
  EXPECT_EQ(ThrownMessage([&] { a.Subtract(&b); }), differ);
  EXPECT_EQ(ThrownMessage([&] { a.DotProduct(&b); }), differ);
  EXPECT_EQ(ThrownMessage([&] { a.EuclideanDistance(b); }),
            "EuclideanDistance: dimensions of vectors do not match");
  EXPECT_EQ(Values(a), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(a.DotProduct(nullptr), 0.0);
  EXPECT_EQ(a.Correlate(nullptr, 0), 0.0);
  TVector zero;
  EXPECT_EQ(ThrownMessage([&] { zero.SetLeng(1); }), "vector has zero length");
}

TEST(Vector, DoubleArithmetic) {
  TVector a, b;
  Load(a, {3, 4});
  Load(b, {1, 2});
  EXPECT_DOUBLE_EQ(a.Leng(), 5.0);
  EXPECT_DOUBLE_EQ(a.DotProduct(&b), 11.0);
  EXPECT_DOUBLE_EQ(a.EuclideanDistance(b), std::sqrt(8.0));
  a.SetLeng(10);
  EXPECT_EQ(Values(a), (std::vector<double>{6, 8}));
  a.Subtract(&b);
  EXPECT_EQ(Values(a), (std::vector<double>{5, 6}));
  // The extended accumulator keeps the 1 that a double sum would lose.
  Load(a, {1e16, 1, -1e16});
  Load(b, {1, 1, 1});
  EXPECT_EQ(a.DotProduct(&b), 1.0);
}

TEST(IntVector, ArithmeticWrapsIn32Bits) {
  TIntVector a, b;
  Load(a, {INT32_MAX, 65536});
  Load(b, {1, 65536});
  EXPECT_EQ(a.DotProduct(&b), INT32_MAX);  // (2^31 - 1) + 2^32 wraps to 2^31 - 1
  a.Add(&b);
  EXPECT_EQ(Values(a), (std::vector<int32_t>{INT32_MIN, 131072}));
  a.SMult(-1);
  EXPECT_EQ(Values(a), (std::vector<int32_t>{INT32_MIN, -131072}));
  EXPECT_DOUBLE_EQ(b.Leng(), std::sqrt(1.0 + 65536.0 * 65536.0));
  Load(a, {INT32_MAX, INT32_MIN});
  Load(b, {INT32_MIN, INT32_MAX});
  EXPECT_DOUBLE_EQ(a.EuclideanDistance(b), std::sqrt(2.0) * 4294967295.0);
}

TEST(Vector, CorrelateShiftsAndReadsZeroOutside) {
  TVector a, b;
  Load(a, {1, 2, 3});
  Load(b, {10, 20, 30});
  EXPECT_EQ(a.Correlate(&b, 1), 80.0);
  EXPECT_EQ(a.Correlate(&b, -1), 2 * 10 + 3 * 20.0);
  EXPECT_EQ(a.Correlate(&b, INT32_MAX), 0.0);
  TIntVector ia, ib;
  Load(ia, {1, 2, 3});
  Load(ib, {10, 20});
  EXPECT_EQ(ia.Correlate(&ib, 0), 50);
}

TEST(Vector, FindReturnsNearestFirstOfTies) {
  struct Case {
    int32_t lo, hi;
    double value;
    int32_t expected;
  };
  const Case cases[] = {
      {0, 0, 2.4, 3}, {0, 0, 2.5, 2}, {0, 0, 100, 2}, {4, 4, 0, 4}, {9, 3, 0, 3}, {1, 0, 3, 1},
  };
  TVector v;
  Load(v, {1, 3, 2, 3});
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(v.Find(cases[i].lo, cases[i].hi, cases[i].value), cases[i].expected) << "case " << i;
  TIntVector iv;
  Load(iv, {INT32_MIN, INT32_MAX});
  EXPECT_EQ(iv.Find(0, 0, INT32_MAX - 1), 2);
}

TEST(Vector, FindInSortedVector) {
  struct Case {
    std::vector<double> values;
    bool ascending;
    double value;
    int32_t expected;
  };
  const Case cases[] = {
      {{1, 3, 5, 7}, true, 4, 3},      // tie between 3 and 5: the upper candidate
      {{1, 3, 5, 7}, true, 5, 3},      // exact hit
      {{1, 3, 5, 7}, true, 3.2, 2},
      {{1, 3, 5, 7}, true, -10, 1},
      {{1, 3, 5, 7}, true, 10, 4},
      {{7, 5, 3, 1}, false, 4.5, 2},
      {{7, 5, 3, 1}, false, 0, 4},
      {{42}, true, -3, 1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TVector v;
    Load(v, cases[i].values);
    EXPECT_EQ(v.FindInSortedVector(cases[i].ascending, cases[i].value), cases[i].expected)
        << "case " << i;
  }
}

TEST(Vector, MinMax) {
  TVector v;
  Load(v, {4, -2, 9, 1});
  double lo = 0, hi = 0;
  v.MinMax(0, 0, lo, hi);
  EXPECT_EQ(lo, 4);
  EXPECT_EQ(hi, 4);
  v.MinMax(4, 1, lo, hi);
  EXPECT_EQ(lo, -2);
  EXPECT_EQ(hi, 9);
  v.MinMax(3, 3, lo, hi);
  EXPECT_EQ(lo, 9);
  EXPECT_EQ(hi, 9);
  TIntVector iv;
  Load(iv, {INT32_MIN});
  int32_t ilo = 0, ihi = 0;
  iv.MinMax(1, 1, ilo, ihi);
  EXPECT_EQ(ilo, INT32_MIN);
  EXPECT_EQ(ihi, -2147483647);  // the start value: INT32_MIN is not above it
}
