// Decoding, tokenizing, building and styling the result page of every DMC
// colour of the shipped palette with all five columns shown (about 200 KB).
// The allocation counters give the memory the document holds once loaded
// and the peak while loading.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "every_dmc_colour.h"
#include "htmlview/html_view.h"

namespace {

std::atomic<long long> gLive{0};
std::atomic<long long> gPeak{0};
std::atomic<long long> gAllocations{0};

void Count(long long delta) {
  const long long now = gLive.fetch_add(delta) + delta;
  long long peak = gPeak.load();
  while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

// Every allocation carries its size in front, so frees can be counted too.
void* operator new(std::size_t size) {
  void* p = std::malloc(size + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = size;
  Count(static_cast<long long>(size));
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  char* base = static_cast<char*>(p) - 16;
  Count(-static_cast<long long>(*reinterpret_cast<std::size_t*>(base)));
  std::free(base);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace talmeko::htmlview {
namespace {

using bench::EveryDmcColourPage;

class AllFonts final : public platform::FontCatalogue {
 public:
  bool IsInstalled(std::string_view) const override { return true; }
};

void BM_LoadEveryDmcColourPage(benchmark::State& state) {
  const std::string& page = EveryDmcColourPage();
  AllFonts fonts;
  THtmlView view(fonts, platform::ScreenInfo{});
  std::stringstream stream(page);
  long long retained = 0;
  long long peak = 0;
  const long long allocationsBefore = gAllocations.load();
  for (auto _ : state) {
    const long long before = gLive.load();
    gPeak.store(before);
    view.LoadFromStream(&stream, "", TDocType::HTMLType);
    retained = gLive.load() - before;
    peak = gPeak.load() - before;
    benchmark::DoNotOptimize(view.Document().Body());
  }
  state.counters["page_bytes"] = static_cast<double>(page.size());
  state.counters["allocations"] =
      static_cast<double>(gAllocations.load() - allocationsBefore) / static_cast<double>(state.iterations());
  // Measured with the previous document still held until the new one
  // replaces it, so "retained" is the new document less the old one's
  // release: the steady state is the figure after the first load.
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["retained_MB"] = static_cast<double>(retained) / 1e6;
}
BENCHMARK(BM_LoadEveryDmcColourPage)->Unit(benchmark::kMillisecond);

void BM_FirstLoadMemory(benchmark::State& state) {
  const std::string& page = EveryDmcColourPage();
  AllFonts fonts;
  long long held = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto view = std::make_unique<THtmlView>(fonts, platform::ScreenInfo{});
    std::stringstream stream(page);
    const long long before = gLive.load();
    state.ResumeTiming();
    view->LoadFromStream(&stream, "", TDocType::HTMLType);
    state.PauseTiming();
    held = gLive.load() - before;
    view.reset();
    state.ResumeTiming();
  }
  state.counters["document_MB"] = static_cast<double>(held) / 1e6;
}
BENCHMARK(BM_FirstLoadMemory)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace talmeko::htmlview
