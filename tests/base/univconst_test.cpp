#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "KVL_random.h"
#include "KVL_univconst.h"

namespace {

// Restores the process-wide progress state after each test.
class ProgressTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetProgressHook({});
    SetProgressCount(0);
  }
};

using CombSort = ProgressTest;

TEST_F(CombSort, ThreeElementsTakeThreePassesWithTheHookAfterEach) {
  // Passes: gap 2 (3 <-> 2), gap 1 (2 <-> 1), gap 1 without an exchange.
  SetProgressCount(10);
  std::vector<int32_t> seen;
  SetProgressHook([&](int32_t count) { seen.push_back(count); });
  std::vector<double> a = {3, 1, 2};
  CombSortDoubles(a, true);
  EXPECT_EQ(a, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(seen, (std::vector<int32_t>{11, 12, 13}));
  EXPECT_EQ(ProgressCount(), 13);
}

TEST_F(CombSort, AgreesWithStdSortBothWays) {
  SetRandomSeed(77);
  for (const size_t n : {0u, 1u, 2u, 13u, 1000u}) {
    std::vector<int32_t> ints(n);
    std::vector<double> doubles(n);
    for (size_t i = 0; i < n; ++i) {
      ints[i] = static_cast<int32_t>(RandomBelow(50)) - 25;  // many equal elements
      doubles[i] = RandomUniform() - 0.5;
    }
    for (const bool ascending : {true, false}) {
      auto sortedInts = ints;
      auto sortedDoubles = doubles;
      CombSortIntegers(sortedInts, ascending);
      CombSortDoubles(sortedDoubles, ascending);
      auto expectedInts = ints;
      auto expectedDoubles = doubles;
      if (ascending) {
        std::sort(expectedInts.begin(), expectedInts.end());
        std::sort(expectedDoubles.begin(), expectedDoubles.end());
      } else {
        std::sort(expectedInts.rbegin(), expectedInts.rend());
        std::sort(expectedDoubles.rbegin(), expectedDoubles.rend());
      }
      EXPECT_EQ(sortedInts, expectedInts) << n << ascending;
      EXPECT_EQ(sortedDoubles, expectedDoubles) << n << ascending;
    }
  }
}

TEST_F(CombSort, ShortArraysMakeNoPassAndEqualElementsStay) {
  std::vector<double> one = {5};
  CombSortDoubles(one, true);
  CombSortDoubles({}, false);
  EXPECT_EQ(ProgressCount(), 0);
  // 0 and -0 compare equal, so their order must survive.
  std::vector<double> zeros = {0.0, -0.0, 0.0};
  CombSortDoubles(zeros, true);
  EXPECT_FALSE(std::signbit(zeros[0]));
  EXPECT_TRUE(std::signbit(zeros[1]));
  std::vector<double> withNan = {2, std::nan(""), 1};  // must end, whatever the order
  CombSortDoubles(withNan, false);
  EXPECT_GT(ProgressCount(), 0);
}

TEST_F(ProgressTest, StepWrapsAndDoesNotCallTheHook) {
  bool called = false;
  SetProgressHook([&](int32_t) { called = true; });
  SetProgressCount(std::numeric_limits<int32_t>::max());
  EXPECT_EQ(StepProgressCount(), std::numeric_limits<int32_t>::min());
  EXPECT_FALSE(called);
  EXPECT_TRUE(static_cast<bool>(ProgressHook()));
}

TEST(FloorToInt, Table) {
  const std::pair<double, int32_t> cases[] = {
      {2.5, 2},   {3.5, 3},    {-2.5, -3}, {-0.5, -1}, {7.0, 7},      {-7.0, -7},
      {0.999, 0}, {-1e-300, -1}, {1e10, INT32_MAX}, {-1e10, INT32_MIN},
      {2147483647.5, INT32_MAX}, {std::nan(""), 0},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(FloorToInt(value), expected) << value;
}

TEST(NiceNumber, Table) {
  const std::pair<double, double> cases[] = {
      {0.0042, 0.005}, {7.9, 5.0},   {9.0, 10.0},  {-0.25, -0.2}, {0.0, 0.0},   {1000.0, 1000.0},
      {1.5, 2.0},      {1.49, 1.0},  {2.99, 2.0},  {3.0, 5.0},    {8.0, 10.0},  {1e-300, 1e-300},
      {123456.0, 1e5}, {-0.001, -0.001},
  };
  for (const auto& [value, expected] : cases) EXPECT_DOUBLE_EQ(NiceNumber(value), expected) << value;
  EXPECT_EQ(NiceNumber(-std::numeric_limits<double>::infinity()),
            -std::numeric_limits<double>::infinity());
}

TEST(RandomDecision, CertaintiesDrawNothingAndOthersDrawOnce) {
  SetRandomSeed(99);
  for (const double p : {1.0, 2.0}) EXPECT_TRUE(RandomDecision(p));
  EXPECT_EQ(RandomSeed(), 99u);
  for (int i = 0; i < 100; ++i) {
    EXPECT_FALSE(RandomDecision(0.0));
    EXPECT_FALSE(RandomDecision(-1.0));
  }
  for (int i = 0; i < 100; ++i) {
    const uint32_t next = RandomSeed() * 134775813u + 1u;
    EXPECT_EQ(RandomDecision(0.3), next / 4294967296.0 < 0.3);
    EXPECT_EQ(RandomSeed(), next);
  }
}

TEST(RandomGauss, PolarMethodWithTheSecondValueCached) {
  ClearRandomGaussCache();
  SetRandomSeed(4242);
  // The polar method computed here from the generator's definition.
  uint32_t seed = 4242;
  const auto draw = [&] {
    seed = seed * 134775813u + 1u;
    return seed / 4294967296.0;
  };
  double u = 0, v = 0, s = 0;
  do {
    u = 2 * draw() - 1;
    v = 2 * draw() - 1;
    s = u * u + v * v;
  } while (s >= 1);
  const double f = std::sqrt(-2 * std::log(s) / s);
  EXPECT_DOUBLE_EQ(RandomGauss(), v * f);
  EXPECT_EQ(RandomSeed(), seed);
  EXPECT_DOUBLE_EQ(RandomGauss(), u * f);
  EXPECT_EQ(RandomSeed(), seed);  // the cached value costs no draw
  ClearRandomGaussCache();
}

TEST(RandomGauss, HasUnitVariance) {
  ClearRandomGaussCache();
  SetRandomSeed(1);
  constexpr int kCount = 20000;
  double sum = 0, sumSquares = 0;
  for (int i = 0; i < kCount; ++i) {
    const double x = RandomGauss();
    sum += x;
    sumSquares += x * x;
  }
  EXPECT_NEAR(sum / kCount, 0.0, 0.03);
  EXPECT_NEAR(sumSquares / kCount, 1.0, 0.04);
  ClearRandomGaussCache();
}

TEST(Exchange, Swaps) {
  int32_t a = 1, b = -2;
  ExchangeInts(a, b);
  EXPECT_EQ(a, -2);
  EXPECT_EQ(b, 1);
  double x = 1.5, y = -0.0;
  ExchangeDoubles(x, y);
  EXPECT_TRUE(x == 0.0 && std::signbit(x));
  EXPECT_EQ(y, 1.5);
}

TEST(RawStreamValues, LittleEndianBytes) {
  TMemoryStream stream;
  EXPECT_TRUE(WriteIntToStream(stream, 0x01020304));
  EXPECT_TRUE(WriteExtendedToStream(stream, 1.0L));
  EXPECT_TRUE(WriteIntToStream(stream, -2));
  const std::vector<uint8_t> expected = {0x04, 0x03, 0x02, 0x01,                          //
                                         0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F,           //
                                         0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(stream.Bytes(), expected);
}

TEST(RawStreamValues, ReadBackAndReportShortStreams) {
  TMemoryStream stream;
  const long double values[] = {-1.5L, 1e4000L, std::numeric_limits<long double>::denorm_min(),
                                9223372036854775809.0L};
  for (const long double v : values) WriteExtendedToStream(stream, v);
  WriteIntToStream(stream, INT32_MIN);
  stream.SetPosition(0);
  bool failed = true;
  for (const long double v : values) {
    EXPECT_EQ(ReadExtendedFromStream(stream, failed), v);
    EXPECT_FALSE(failed);
  }
  EXPECT_EQ(ReadIntFromStream(stream, failed), INT32_MIN);
  EXPECT_FALSE(failed);
  EXPECT_EQ(ReadIntFromStream(stream, failed), 0);
  EXPECT_TRUE(failed);
  TMemoryStream shortStream(std::vector<uint8_t>(9, 0x11));
  ReadExtendedFromStream(shortStream, failed);
  EXPECT_TRUE(failed);
  shortStream.SetPosition(6);
  ReadIntFromStream(shortStream, failed);
  EXPECT_TRUE(failed);
}

}  // namespace
