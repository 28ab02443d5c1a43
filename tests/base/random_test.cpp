#include <gtest/gtest.h>

#include "KVL_random.h"

// The sequence after start-up is fixed: every program sees the same draws until it re-seeds.
TEST(SharedGenerator, StartupSequenceIsReproducible) {
  ResetRandomToStartupState();
  const uint32_t start = RandomSeed();
  const double first = RandomUniform();
  const double second = RandomUniform();
  ResetRandomToStartupState();
  EXPECT_EQ(RandomSeed(), start);
  EXPECT_EQ(RandomUniform(), first);
  EXPECT_EQ(RandomUniform(), second);
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
}
