// TCurveFit: entering a million pairs, and the ASC export and import of a million pairs, each
// beside a plain peer that does only the bare work (storing the pairs; printf and strtod on the
// same text) so that the cost of the running sums and of the file format shows.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KVL_math2_curvefit.h"

namespace {

constexpr int32_t kPairs = 1'000'000;
constexpr int32_t kPrecision = 6;

double PairX(int32_t i) { return 0.001 * i + 1; }
double PairY(int32_t i) { return 3.5 * PairX(i) - 0.25 * (i % 17); }

std::string TempPath(const char* Name) {
  return (std::filesystem::temp_directory_path() /
          (std::string("velmo_bench_") + std::to_string(getpid()) + "_" + Name))
      .string();
}

void BM_EnterStatValue(benchmark::State& state) {
  TCurveFit fit;
  for (auto _ : state) {
    fit.Init();
    for (int32_t i = 0; i < kPairs; ++i) fit.EnterStatValue(PairX(i), PairY(i));
    benchmark::DoNotOptimize(fit.Sums().sumxy);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

// Peer: the pairs stored into two growing vectors, no sums.
void BM_StorePairsOnly(benchmark::State& state) {
  std::vector<double> xs;
  std::vector<double> ys;
  for (auto _ : state) {
    xs.clear();
    ys.clear();
    for (int32_t i = 0; i < kPairs; ++i) {
      xs.push_back(PairX(i));
      ys.push_back(PairY(i));
    }
    benchmark::DoNotOptimize(xs.data());
    benchmark::DoNotOptimize(ys.data());
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

void FillPairs(TCurveFit& Fit) {
  for (int32_t i = 0; i < kPairs; ++i) Fit.EnterStatValue(PairX(i), PairY(i));
}

void BM_ExportAsASC(benchmark::State& state) {
  TCurveFit fit;
  FillPairs(fit);
  const std::string path = TempPath("export.asc");
  for (auto _ : state) {
    if (!fit.ExportAsASC(path, "benchmark", kPrecision).empty()) state.SkipWithError("export");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}

// Peer: the same lines written with fprintf into a buffered file.
void BM_ExportPrintf(benchmark::State& state) {
  const std::string path = TempPath("printf.asc");
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fprintf(f, "benchmark\r\n2\t;nr. of columns\r\n%d\t;nr. of rows\r\n", kPairs);
    std::fprintf(f, "FALSE TRUE FALSE\t;row attributes, column names, row names\r\nx   y\r\n");
    for (int32_t i = 0; i < kPairs; ++i)
      std::fprintf(f, "%.*f\t%.*f\r\n", kPrecision, PairX(i), kPrecision, PairY(i));
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}

std::string ExportedFile() {
  TCurveFit fit;
  FillPairs(fit);
  const std::string path = TempPath("import.asc");
  fit.ExportAsASC(path, "benchmark", kPrecision);
  return path;
}

void BM_ImportASC(benchmark::State& state) {
  const std::string path = ExportedFile();
  TCurveFit fit;
  for (auto _ : state) {
    if (fit.ImportASC(path) != aiOk) state.SkipWithError("import");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}

// Peer: the whole file read into memory and every value taken with strtod, no sums.
void BM_ImportStrtod(benchmark::State& state) {
  const std::string path = ExportedFile();
  std::vector<double> values;
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t pos = 0;
    for (int line = 0; line < 5; ++line) pos = text.find('\n', pos) + 1;
    values.clear();
    const char* p = text.c_str() + pos;
    char* end = nullptr;
    for (double v = std::strtod(p, &end); end != p; v = std::strtod(p, &end)) {
      values.push_back(v);
      p = end;
    }
    benchmark::DoNotOptimize(values.data());
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_EnterStatValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StorePairsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAsASC)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPrintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportASC)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportStrtod)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
