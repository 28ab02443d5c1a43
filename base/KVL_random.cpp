#include "KVL_random.h"

#include <array>
#include <chrono>

namespace {

constexpr uint32_t kMultiplier = 134775813u;
constexpr uint32_t kStartupSeed = 1234u;
constexpr uint32_t kPermutationSize = 255u;
constexpr int kNumericsStartupDraws = 3;

uint32_t Step(uint32_t& seed) {
  seed = seed * kMultiplier + 1u;  // wraps mod 2^32 by unsigned arithmetic
  return seed;
}

// The state start-up leaves: seed 1234, a permutation of 1..255 built from draws below 255
// (a value already taken is discarded), then three uniform draws.
uint32_t StartupSeed() {
  uint32_t seed = kStartupSeed;
  std::array<bool, kPermutationSize + 1> used{};
  uint32_t placed = 0;
  while (placed < kPermutationSize) {
    const uint32_t value =
        static_cast<uint32_t>((uint64_t{Step(seed)} * kPermutationSize) >> 32) + 1u;
    if (!used[value]) {
      used[value] = true;
      ++placed;
    }
  }
  for (int i = 0; i < kNumericsStartupDraws; ++i) Step(seed);
  return seed;
}

uint32_t& Seed() {
  static uint32_t seed = StartupSeed();
  return seed;
}

}  // namespace

double RandomUniform() { return static_cast<double>(Step(Seed())) / 4294967296.0; }

uint32_t RandomBelow(uint32_t Range) {
  return static_cast<uint32_t>((uint64_t{Step(Seed())} * Range) >> 32);
}

void Randomize() {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  Seed() = static_cast<uint32_t>(ticks);
}

uint32_t RandomSeed() { return Seed(); }
void SetRandomSeed(uint32_t NewSeed) { Seed() = NewSeed; }
void ResetRandomToStartupState() { Seed() = StartupSeed(); }
