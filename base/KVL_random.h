// The process-wide uniform generator that every random operation of the library draws from:
// a 32-bit linear congruential generator, seed := seed * 134775813 + 1 (mod 2^32).
#pragma once

#include <cstdint>

// The generator's state is created on first use in the state that start-up leaves (seed 1234,
// the text utilities' permutation draws, the numerics' three draws), so the sequence seen by the
// first caller is the same in every program and test, whatever the order of static initialisers.

double RandomUniform();                // next draw, uniform in [0, 1)
uint32_t RandomBelow(uint32_t Range);  // next draw, uniform integer in [0, Range); 0 when Range is 0
void Randomize();                      // re-seed from the high-resolution clock
uint32_t RandomSeed();                 // current seed, for saving and restoring a sequence
void SetRandomSeed(uint32_t Seed);
// Puts the generator back into its start-up state (for tests that pin drawn values).
void ResetRandomToStartupState();
