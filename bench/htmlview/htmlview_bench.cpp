// Decoding, tokenizing, building and styling the result page of every DMC
// colour of the shipped palette with all five columns shown (about 200 KB),
// and laying it out on a canvas of fixed glyph widths (the widget benchmark
// measures the same with the installed fonts).
// The allocation counters give the memory the document holds once loaded
// and the peak while loading.

#include <benchmark/benchmark.h>

#include <memory>

#include <sstream>
#include <string>
#include <vector>

#include "counting_allocator.h"
#include "every_dmc_colour.h"
#include "htmlview/layout/document_view.h"
#include "htmlview/view/html_view.h"
#include "support/fake_canvas.h"

using talmeko::bench::gAllocations;
using talmeko::bench::gLive;
using talmeko::bench::gPeak;

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
  const long long allocationsBefore = gAllocations;
  for (auto _ : state) {
    const long long before = gLive;
    gPeak = before;
    view.LoadFromStream(&stream, "", TDocType::HTMLType);
    retained = gLive - before;
    peak = gPeak - before;
    benchmark::DoNotOptimize(view.Document().Body());
  }
  state.counters["page_bytes"] = static_cast<double>(page.size());
  state.counters["allocations"] =
      static_cast<double>(gAllocations - allocationsBefore) / static_cast<double>(state.iterations());
  // Measured with the previous document still held until the new one
  // replaces it, so "retained" is the new document less the old one's
  // release: the steady state is the figure after the first load.
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["retained_MB"] = static_cast<double>(retained) / 1e6;
}
BENCHMARK(BM_LoadEveryDmcColourPage)->Unit(benchmark::kMillisecond);

// A page whose style sheet has 100,000 descendant rules, 20 for each of the
// 5,000 classes its cells carry (about 2.6 MB): loading it must stay linear in
// the rules, well under a second.
const std::string& ManyRulesPage() {
  static const std::string page = [] {
    std::string html = "<html><head><style>";
    for (int i = 0; i < 100000; ++i) {
      html += "table .c" + std::to_string(i % 5000) + "{color:#" + std::to_string(100000 + i % 900000) + "}";
    }
    html += "</style></head><body><table>";
    for (int i = 0; i < 5000; ++i) html += "<tr><td class=c" + std::to_string(i) + ">" + std::to_string(i);
    html += "</table></body></html>";
    return html;
  }();
  return page;
}

void BM_LoadPageWithManyDescendantRules(benchmark::State& state) {
  AllFonts fonts;
  THtmlView view(fonts, platform::ScreenInfo{});
  for (auto _ : state) {
    std::stringstream stream(ManyRulesPage());
    view.LoadFromStream(&stream, "", TDocType::HTMLType);
    benchmark::DoNotOptimize(view.Document().Body());
  }
  state.counters["page_bytes"] = static_cast<double>(ManyRulesPage().size());
}
BENCHMARK(BM_LoadPageWithManyDescendantRules)->Unit(benchmark::kMillisecond);

void BM_FirstLoadMemory(benchmark::State& state) {
  const std::string& page = EveryDmcColourPage();
  AllFonts fonts;
  long long held = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto view = std::make_unique<THtmlView>(fonts, platform::ScreenInfo{});
    std::stringstream stream(page);
    const long long before = gLive;
    state.ResumeTiming();
    view->LoadFromStream(&stream, "", TDocType::HTMLType);
    state.PauseTiming();
    held = gLive - before;
    view.reset();
    state.ResumeTiming();
  }
  state.counters["document_MB"] = static_cast<double>(held) / 1e6;
}
BENCHMARK(BM_FirstLoadMemory)->Unit(benchmark::kMillisecond)->Iterations(20);

// The page parsed once, for the benchmarks of what follows parsing.
struct LoadedPage {
  LoadedPage() {
    std::stringstream stream(EveryDmcColourPage());
    view.LoadFromStream(&stream, "", TDocType::HTMLType);
  }
  AllFonts fonts;
  THtmlView view{fonts, platform::ScreenInfo{}};
};

// What a load adds after parsing: a new layout of the new document, for the
// main window's view less its vertical scroll bar.
void BM_FirstLayoutOfEveryDmcColourPage(benchmark::State& state) {
  const LoadedPage loaded;
  talmeko::testing::FakeCanvas canvas;
  int height = 0;
  const long long allocationsBefore = gAllocations;
  for (auto _ : state) {
    THtmlDocumentView laidOut(loaded.view.Document(), platform::ScreenInfo{});
    height = laidOut.LayOut(canvas, 546 - 17, 348).documentHeight;
    benchmark::DoNotOptimize(height);
  }
  state.counters["document_height"] = height;
  state.counters["allocations"] =
      static_cast<double>(gAllocations - allocationsBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FirstLayoutOfEveryDmcColourPage)->Unit(benchmark::kMillisecond);

// The same as the view widget does it: the new layout is made while the one
// it replaces still exists, and that one is freed after. Freed first, as
// above, its memory may go back to the system and have to be faulted in
// again for the next one (about 440 page faults a layout here).
void BM_FirstLayoutReplacingThePrevious(benchmark::State& state) {
  const LoadedPage loaded;
  talmeko::testing::FakeCanvas canvas;
  int height = 0;
  std::unique_ptr<THtmlDocumentView> previous;
  for (auto _ : state) {
    auto laidOut = std::make_unique<THtmlDocumentView>(loaded.view.Document(), platform::ScreenInfo{});
    height = laidOut->LayOut(canvas, 546 - 17, 348).documentHeight;
    benchmark::DoNotOptimize(height);
    previous = std::move(laidOut);
  }
  state.counters["document_height"] = height;
}
BENCHMARK(BM_FirstLayoutReplacingThePrevious)->Unit(benchmark::kMillisecond);

// A resize: the same layout again at another width.
void BM_RelayoutOfEveryDmcColourPage(benchmark::State& state) {
  const LoadedPage loaded;
  talmeko::testing::FakeCanvas canvas;
  THtmlDocumentView laidOut(loaded.view.Document(), platform::ScreenInfo{});
  int width = 500;
  for (auto _ : state) {
    width = width == 500 ? 700 : 500;
    benchmark::DoNotOptimize(laidOut.LayOut(canvas, width, 348));
  }
}
BENCHMARK(BM_RelayoutOfEveryDmcColourPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::htmlview
