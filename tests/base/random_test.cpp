#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "KVL_random.h"

namespace {

constexpr uint64_t kModulus = 4294967296ULL;  // 2^32

// The start-up sequence computed from the generator's definition alone: seed 1234, draws below
// 255 until all 255 values have come up (repeats discarded), then the numerics' three draws.
uint32_t ExpectedStartupSeed() {
  uint64_t seed = 1234;
  const auto next = [&] { return seed = (seed * 134775813ULL + 1ULL) % kModulus; };
  std::set<uint64_t> values;
  while (values.size() < 255) values.insert(next() * 255 / kModulus + 1);
  for (int i = 0; i < 3; ++i) next();
  return static_cast<uint32_t>(seed);
}

TEST(SharedGenerator, StartupStatePinnedIndependently) {
  ResetRandomToStartupState();
  uint64_t seed = ExpectedStartupSeed();
  EXPECT_EQ(RandomSeed(), seed);
  for (int i = 0; i < 5; ++i) {
    seed = (seed * 134775813ULL + 1ULL) % kModulus;
    EXPECT_EQ(RandomUniform(), static_cast<double>(seed) / kModulus) << i;
  }
  seed = (seed * 134775813ULL + 1ULL) % kModulus;
  EXPECT_EQ(RandomBelow(1000), seed * 1000 / kModulus);
}

// The first use in a fresh process already sees the start-up state: the threadsafe death-test
// style runs the check in a newly started copy of this program.
TEST(SharedGeneratorDeathTest, FirstUseInANewProcessSeesTheStartupState) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const uint32_t expected = ExpectedStartupSeed();
  EXPECT_EXIT(std::exit(RandomSeed() == expected ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(SharedGenerator, StepsAsLinearCongruentialGenerator) {
  SetRandomSeed(0);
  EXPECT_EQ(RandomUniform(), 1.0 / 4294967296.0);
  EXPECT_EQ(RandomSeed(), 1u);
  EXPECT_EQ(RandomBelow(10), static_cast<uint32_t>((uint64_t{134775814u} * 10) >> 32));
  EXPECT_EQ(RandomSeed(), 134775814u);
  SetRandomSeed(0xFFFFFFFFu);  // wraps mod 2^32
  RandomUniform();
  EXPECT_EQ(RandomSeed(), 0xFFFFFFFFu * 134775813u + 1u);
  EXPECT_EQ(RandomBelow(0), 0u);
}

}  // namespace
