// SvdLeastSquares against LAPACK's dgelss and Eigen's BDCSVD on the same random problems.
// Every variant copies the design matrix and the observations into its own work storage in
// each iteration, since all three overwrite their input.
#include <benchmark/benchmark.h>
#include <lapacke.h>

#include <Eigen/Dense>
#include <algorithm>
#include <random>
#include <vector>

#include "KVL_math2_svd.h"

namespace {

struct Problem {
  int m, n;
  std::vector<double> a;  // column-major, m x n
  std::vector<double> y;
};

Problem MakeProblem(int m, int n) {
  std::mt19937 gen(12345);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  Problem p{m, n, std::vector<double>(static_cast<std::size_t>(m) * n), std::vector<double>(m)};
  for (double& x : p.a) x = dist(gen);
  for (double& x : p.y) x = dist(gen);
  return p;
}

void BM_SvdLeastSquares(benchmark::State& state) {
  const Problem p = MakeProblem(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  TMatrix a;
  a.Resize(p.n, p.m);
  TVector y, x, err;
  y.Resize(p.m);
  std::copy(p.y.begin(), p.y.end(), y.Data());
  x.Resize(p.n);
  err.Resize(p.n);
  bool singular = false;
  for (auto _ : state) {
    std::copy(p.a.begin(), p.a.end(), a.Data());
    benchmark::DoNotOptimize(SvdLeastSquares(a, y, x, &err, singular));
    benchmark::DoNotOptimize(x.Data());
  }
}

void BM_LapackDgelss(benchmark::State& state) {
  const Problem p = MakeProblem(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  std::vector<double> a(p.a.size()), b(p.y.size()), s(p.n);
  lapack_int rank = 0;
  for (auto _ : state) {
    std::copy(p.a.begin(), p.a.end(), a.begin());
    std::copy(p.y.begin(), p.y.end(), b.begin());
    benchmark::DoNotOptimize(LAPACKE_dgelss(LAPACK_COL_MAJOR, p.m, p.n, 1, a.data(), p.m, b.data(),
                                            p.m, s.data(), 1e-14, &rank));
    benchmark::DoNotOptimize(b.data());
  }
}

void BM_EigenBDCSVD(benchmark::State& state) {
  const Problem p = MakeProblem(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const Eigen::Map<const Eigen::MatrixXd> a(p.a.data(), p.m, p.n);
  const Eigen::Map<const Eigen::VectorXd> y(p.y.data(), p.m);
  Eigen::MatrixXd work(p.m, p.n);
  Eigen::VectorXd x(p.n);
  for (auto _ : state) {
    work = a;
    Eigen::BDCSVD<Eigen::MatrixXd> svd(work, Eigen::ComputeThinU | Eigen::ComputeThinV);
    x = svd.solve(y);
    benchmark::DoNotOptimize(x.data());
  }
}

}  // namespace

BENCHMARK(BM_SvdLeastSquares)->Args({200, 6})->Args({1000, 20})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LapackDgelss)->Args({200, 6})->Args({1000, 20})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EigenBDCSVD)->Args({200, 6})->Args({1000, 20})->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
