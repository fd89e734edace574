// Loading the compiled-in catalogue and the two conversions on it. Targets on
// the development machine: loading under 1 ms, an exact conversion with its DMC
// pass under 20 us, a nearest search under 50 us.

#include <benchmark/benchmark.h>

#include "catalogue/conversion.h"
#include "catalogue/tables.h"

namespace {

using namespace talmeko::catalogue;

const Tables& Shipped() {
  static const Tables tables = LoadTables();
  return tables;
}

void BM_LoadTables(benchmark::State& state) {
  for (auto _ : state) {
    Tables tables = LoadTables();
    benchmark::DoNotOptimize(tables);
  }
}
BENCHMARK(BM_LoadTables)->Unit(benchmark::kMicrosecond);

// gamma 0420 meets one entry and then goes through the DMC pass, a second full scan.
void BM_FindExactWithDmcPass(benchmark::State& state) {
  const Tables& tables = Shipped();
  for (auto _ : state) {
    Equivalents result = FindExact(tables, "0420", "gamma");
    DmcPass(tables, result);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_FindExactWithDmcPass)->Unit(benchmark::kMicrosecond);

// The source stands in the last block, so both scans run over the whole palette.
void BM_FindNearest(benchmark::State& state) {
  const Tables& tables = Shipped();
  for (auto _ : state) {
    Equivalents result = FindNearest(tables, "7214", "kirov");
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_FindNearest)->Unit(benchmark::kMicrosecond);

}  // namespace
