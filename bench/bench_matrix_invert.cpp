// TMatrix::Invert against Eigen's inverse (partial-pivoting LU) on the same random, well
// conditioned matrices. Both copy the matrix into their work storage in each iteration, since
// Invert replaces its matrix.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>
#include <algorithm>
#include <random>
#include <vector>

#include "KVL_matrix.h"

namespace {

// Column-major n x n, diagonally dominant.
std::vector<double> MakeMatrix(int n) {
  std::mt19937 gen(4321);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> a(static_cast<std::size_t>(n) * n);
  for (int c = 0; c < n; ++c)
    for (int r = 0; r < n; ++r) a[static_cast<std::size_t>(c) * n + r] = dist(gen) + (c == r ? n : 0.0);
  return a;
}

void BM_Invert(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> source = MakeMatrix(n);
  TMatrix m;
  m.Resize(n, n);
  for (auto _ : state) {
    std::copy(source.begin(), source.end(), m.Data());
    benchmark::DoNotOptimize(m.Invert());
    benchmark::DoNotOptimize(m.Data());
  }
}

void BM_EigenInverse(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> source = MakeMatrix(n);
  Eigen::MatrixXd a(n, n), inverse(n, n);
  for (auto _ : state) {
    std::copy(source.begin(), source.end(), a.data());
    inverse = a.inverse();
    benchmark::DoNotOptimize(inverse.data());
  }
}

}  // namespace

BENCHMARK(BM_Invert)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EigenInverse)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
