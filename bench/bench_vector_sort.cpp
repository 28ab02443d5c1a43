// Comb sorting of 10^6 values: TVector::SortElems with and without an exchange handler, against
// the library's CombSortDoubles on a plain array and std::sort as the reference.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "KVL_random.h"
#include "KVL_univconst.h"
#include "KVL_vector.h"

namespace {

constexpr int32_t kElements = 1'000'000;

const std::vector<double>& Unsorted() {
  static const std::vector<double> values = [] {
    SetRandomSeed(12345);
    std::vector<double> v(kElements);
    for (double& x : v) x = RandomUniform();
    return v;
  }();
  return values;
}

void Load(TVector& v) {
  v.Resize(kElements);
  std::copy(Unsorted().begin(), Unsorted().end(), v.Data());
}

void BM_SortElems(benchmark::State& state) {
  TVector v;
  for (auto _ : state) {
    state.PauseTiming();
    Load(v);
    state.ResumeTiming();
    v.SortElems(true, 1, kElements);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}

// A handler that does the least a listener can do: count the exchanges.
void BM_SortElemsWithExchangeHandler(benchmark::State& state) {
  TVector v;
  int64_t exchanges = 0;
  v.SetOnSortExchange([&exchanges](void*, uint8_t, int32_t, int32_t, int32_t, int32_t) {
    ++exchanges;
  });
  for (auto _ : state) {
    state.PauseTiming();
    Load(v);
    exchanges = 0;
    state.ResumeTiming();
    v.SortElems(true, 1, kElements);
    benchmark::ClobberMemory();
  }
  state.counters["exchanges"] = static_cast<double>(exchanges);
  state.SetItemsProcessed(state.iterations() * kElements);
}

void BM_CombSortDoubles(benchmark::State& state) {
  std::vector<double> values;
  for (auto _ : state) {
    state.PauseTiming();
    values = Unsorted();
    state.ResumeTiming();
    CombSortDoubles(values, true);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}

void BM_StdSort(benchmark::State& state) {
  std::vector<double> values;
  for (auto _ : state) {
    state.PauseTiming();
    values = Unsorted();
    state.ResumeTiming();
    std::sort(values.begin(), values.end());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kElements);
}

}  // namespace

BENCHMARK(BM_SortElems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortElemsWithExchangeHandler)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CombSortDoubles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
