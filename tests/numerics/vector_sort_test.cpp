#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "KVL_random.h"
#include "KVL_vector.h"
#include "vector_test_support.h"

namespace {

// Records the notifications of one vector.
struct Recorder {
  int changes = 0;
  std::vector<std::pair<int32_t, int32_t>> exchanges;

  template <typename V>
  explicit Recorder(V& v) {
    v.SetOnChange([this](void*) { ++changes; });
    v.SetOnSortExchange([this, &v](void* sender, uint8_t what, int32_t i1, int32_t i2,
                                   int32_t first, int32_t last) {
      EXPECT_EQ(sender, &v);
      EXPECT_EQ(what, 0);
      EXPECT_EQ(first, 0);
      EXPECT_EQ(last, 0);
      exchanges.emplace_back(i1, i2);
    });
  }
};

struct SortCase {
  std::vector<double> values;
  bool ascending;
  int32_t first, last;
  std::vector<double> expected;
  int changes;  // OnChange calls
};

}  // namespace

TEST(VectorSort, SortsTheClampedRangeAndNotifiesOnce) {
  const SortCase cases[] = {
      {{3, 1, 2}, true, 1, 3, {1, 2, 3}, 1},
      {{3, 1, 2}, false, 1, 3, {3, 2, 1}, 1},
      {{5, 4, 3, 2, 1}, true, 5, 1, {1, 2, 3, 4, 5}, 1},     // reversed bounds
      {{5, 4, 3, 2, 1}, true, -3, 99, {1, 2, 3, 4, 5}, 1},   // bounds clamped
      {{9, 4, 3, 2, 0}, true, 2, 4, {9, 2, 3, 4, 0}, 1},     // the ends stay
      {{2, 1, 3}, true, 0, 0, {2, 1, 3}, 0},                 // element 1 alone: nothing
      {{2, 1, 3}, true, 3, 7, {2, 1, 3}, 0},                 // element 3 alone
      {{7, 7, 7}, true, 1, 3, {7, 7, 7}, 1},
      {{1, 8, 3, 8, -2, 0, 5, 5, 11, -7, 4}, false, 1, 11, {11, 8, 8, 5, 5, 4, 3, 1, 0, -2, -7}, 1},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const SortCase& c = cases[k];
    TVector v;
    Load(v, c.values);
    Recorder rec(v);
    v.SortElems(c.ascending, c.first, c.last);
    EXPECT_EQ(Values(v), c.expected) << "case " << k;
    EXPECT_EQ(rec.changes, c.changes) << "case " << k;

    TIntVector iv;
    std::vector<int32_t> ints(c.values.begin(), c.values.end());
    Load(iv, ints);
    iv.SortElems(c.ascending, c.first, c.last);
    EXPECT_EQ(Values(iv), std::vector<int32_t>(c.expected.begin(), c.expected.end()))
        << "case " << k;
  }
}

TEST(VectorSort, ReportsEachExchangeAfterItHappens) {
  TVector v;
  Load(v, {3, 1, 2});
  Recorder rec(v);
  std::vector<std::vector<double>> seen;
  const auto record = v.OnSortExchange();
  v.SetOnSortExchange([&](void* s, uint8_t w, int32_t i1, int32_t i2, int32_t f, int32_t l) {
    record(s, w, i1, i2, f, l);
    seen.push_back(Values(v));
  });
  v.SortElems(true, 1, 3);
  // gap trunc(2 / 1.3) = 1 from the first pass on: (3 1 2) -> (1 3 2) -> (1 2 3), then a clean pass
  const std::vector<std::pair<int32_t, int32_t>> expected = {{1, 2}, {2, 3}};
  EXPECT_EQ(rec.exchanges, expected);
  const std::vector<std::vector<double>> states = {{1, 3, 2}, {1, 2, 3}};
  EXPECT_EQ(seen, states);
  EXPECT_EQ(rec.changes, 1);
}

TEST(VectorSort, HandlerMayReplaceItselfDuringTheSort) {
  TVector v;
  Load(v, {4, 3, 2, 1});
  int calls = 0;
  v.SetOnSortExchange([&](void*, uint8_t, int32_t, int32_t, int32_t, int32_t) {
    ++calls;
    v.SetOnSortExchange({});  // the new handler applies from the next sort on
  });
  v.SortElems(true, 1, 4);
  EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_GT(calls, 1);
  EXPECT_FALSE(v.OnSortExchange());
}

TEST(VectorSort, EqualElementsAreNeverExchanged) {
  TVector v;
  Load(v, {0.0, -0.0, 0.0, -0.0, 1.0, -0.0});
  v.SortElems(true, 1, 6);
  const double* x = v.Data();
  EXPECT_EQ(x[5], 1.0);
  // Only the 1.0 moved; the zeros keep their signs in their original order.
  const bool signs[] = {false, true, false, true, true};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(std::signbit(x[i]), signs[i]) << i;
}

// The exchanges reported, replayed on the original data, reproduce the sort; and the sort gives
// the same result whether or not anyone listens.
TEST(VectorSort, ReplayedExchangesReproduceTheSort) {
  SetRandomSeed(77);
  std::vector<double> data(1000);
  for (double& x : data) x = std::floor(RandomUniform() * 300);  // with many ties
  for (bool ascending : {true, false}) {
    TVector listened, silent;
    Load(listened, data);
    Load(silent, data);
    Recorder rec(listened);
    listened.SortElems(ascending, 3, 998);
    silent.SortElems(ascending, 3, 998);
    EXPECT_EQ(Values(listened), Values(silent));

    std::vector<double> replay = data;
    for (auto [i, j] : rec.exchanges) std::swap(replay[i - 1], replay[j - 1]);
    EXPECT_EQ(replay, Values(listened));

    std::vector<double> expected = data;
    if (ascending)
      std::sort(expected.begin() + 2, expected.end() - 2);
    else
      std::sort(expected.begin() + 2, expected.end() - 2, std::greater<>());
    EXPECT_EQ(Values(listened), expected);
  }
}

TEST(VectorSort, MirrorReversesWithOneChange) {
  for (const std::vector<int32_t>& values :
       {std::vector<int32_t>{1, 2, 3, 4}, std::vector<int32_t>{1, 2, 3}, std::vector<int32_t>{5}}) {
    TIntVector v;
    Load(v, values);
    Recorder rec(v);
    v.Mirror();
    EXPECT_EQ(Values(v), std::vector<int32_t>(values.rbegin(), values.rend()));
    EXPECT_EQ(rec.changes, 1);
    EXPECT_TRUE(rec.exchanges.empty());
  }
}

TEST(VectorSort, ShufflePermutesSilently) {
  std::vector<double> data(200);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<double>(i % 37);
  TVector v;
  Load(v, data);
  Recorder rec(v);
  v.ShuffleElems();
  EXPECT_EQ(rec.changes, 0);
  EXPECT_TRUE(rec.exchanges.empty());
  std::vector<double> shuffled = Values(v);
  EXPECT_NE(shuffled, data);  // 400 random exchanges leave 200 elements in order with p ~ 0
  std::sort(shuffled.begin(), shuffled.end());
  std::sort(data.begin(), data.end());
  EXPECT_EQ(shuffled, data);
}
