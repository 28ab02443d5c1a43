// Throughput of the vector fingerprint, and the cost of bounds-checked element access against a
// raw loop over the same contiguous column storage.
#include <benchmark/benchmark.h>

#include <numeric>

#include "KVL_matrix.h"
#include "KVL_vector.h"

namespace {

constexpr int32_t kElements = 1'000'000;

template <typename V>
void BM_CRCofData(benchmark::State& state) {
  V v;
  v.Resize(kElements);
  for (int32_t i = 1; i <= kElements; ++i) v.SetElement(i, static_cast<typename V::Elem>(i * 7));
  for (auto _ : state) benchmark::DoNotOptimize(v.CRCofData());
  state.SetBytesProcessed(state.iterations() * int64_t{kElements} * int64_t{sizeof(typename V::Elem)});
}

// Sum of a 1000 x 1000 matrix through Element(c, r), column by column.
void BM_MatrixElementSum(benchmark::State& state) {
  TMatrix m;
  m.Resize(1000, 1000);
  m.Fill(1.5);
  for (auto _ : state) {
    double sum = 0;
    for (int32_t c = 1; c <= m.NrOfColumns(); ++c)
      for (int32_t r = 1; r <= m.NrOfRows(); ++r) sum += m.Element(c, r);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}

// The same sum over the raw storage.
void BM_MatrixRawSum(benchmark::State& state) {
  TMatrix m;
  m.Resize(1000, 1000);
  m.Fill(1.5);
  for (auto _ : state) {
    const double sum = std::accumulate(m.Data(), m.Data() + 1'000'000, 0.0);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}

}  // namespace

BENCHMARK(BM_CRCofData<TVector>);
BENCHMARK(BM_CRCofData<TIntVector>);
BENCHMARK(BM_MatrixElementSum);
BENCHMARK(BM_MatrixRawSum);
BENCHMARK_MAIN();
