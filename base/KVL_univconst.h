// Small numeric routines shared by the numerics and the map control: comb sorting with a
// process-wide progress counter and hook, floor, rounding to 1-2-5 steps, random decisions,
// normally distributed random numbers (from the shared generator of KVL_random.h), swaps, and raw
// little-endian read and write of single values on a byte stream.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "KVL_bytestream.h"

// ---- progress ----------------------------------------------------------------------------------
// Process-wide and unguarded (single-threaded by design). ProgressCount is 0 and ProgressHook is
// absent at start-up.

int32_t ProgressCount();
void SetProgressCount(int32_t Count);
// Adds 1 (wrapping) and returns the new count. Does not call the hook: long computations that
// only count their steps use it directly.
int32_t StepProgressCount();

using TProgressHook = std::function<void(int32_t Count)>;
const TProgressHook& ProgressHook();
void SetProgressHook(TProgressHook Hook);  // an empty function removes the hook

// ---- sorting -----------------------------------------------------------------------------------
// Comb sorts of a whole 0-based array in place. Equal elements are never exchanged. After every
// pass ProgressCount goes up by 1 and ProgressHook, when present, is called with the new count.

void CombSortDoubles(std::span<double> Values, bool Ascending);
void CombSortIntegers(std::span<int32_t> Values, bool Ascending);

// ---- numbers -----------------------------------------------------------------------------------

// The largest integer not above Value, clamped to the 32-bit range (NaN gives 0).
int32_t FloorToInt(double Value);

// Value rounded to the nearest of 1, 2, 5 or 10 times a power of ten, keeping its sign:
// 0.0042 gives 0.005, 7.9 gives 5, 9 gives 10; 0 gives 0. NaN and infinities come back unchanged.
double NiceNumber(double Value);

// True with probability P: always when P >= 1, never when P <= 0; one draw of the shared
// generator when P < 1.
bool RandomDecision(double P);

// A standard normally distributed number (polar method). Values come in pairs from two or more
// draws of the shared generator; the second of a pair is cached for the next call.
double RandomGauss();
// Empties the cache of RandomGauss, as at start-up.
void ClearRandomGaussCache();

void ExchangeInts(int32_t& A, int32_t& B);
void ExchangeDoubles(double& A, double& B);

// ---- raw values on a byte stream ---------------------------------------------------------------
// Little-endian bytes at the stream's position. A read sets Failed when the stream cannot deliver
// all the bytes (the result is then 0). The writers return false when the stream took fewer bytes.

bool WriteExtendedToStream(TStream& Stream, long double Value);  // 10 bytes, x87 80-bit format
bool WriteIntToStream(TStream& Stream, int32_t Value);           // 4 bytes
long double ReadExtendedFromStream(TStream& Stream, bool& Failed);
int32_t ReadIntFromStream(TStream& Stream, bool& Failed);
