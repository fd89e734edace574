// Rebuilding the page of every DMC colour of the shipped palette, loading a
// colour set of those colours, and adding one colour to that list. The view
// is a sink that keeps the page bytes.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/colour_set_file.h"
#include "app/main_window_logic.h"
#include "app/main_window_port.h"
#include "every_dmc_colour.h"

namespace talmeko::app {
namespace {

class SinkWindow final : public MainWindowPort {
 public:
  int ColourCount() const override { return static_cast<int>(items.size()); }
  std::string ColourItem(int index) const override { return items[static_cast<std::size_t>(index)]; }
  void AppendColour(std::string_view item) override { items.emplace_back(item); }
  void DeleteColour(int index) override { items.erase(items.begin() + index); }
  void DeleteSelectedColour() override {}
  void RemoveAllColours() override { items.clear(); }
  void ScrollColoursToTop() override {}
  void RepaintColours() override {}
  std::string EntryText() const override { return entry; }
  void SetEntryText(std::string_view text) override { entry = text; }
  void FocusEntry() override {}
  int PaletteIndex() const override { return 0; }
  void SelectPaletteIndex(int) override {}
  void SetEnabled(Control, bool) override {}
  void SetVisible(Control, bool) override {}
  bool IsChecked(CheckBox box) const override { return checked.at(box); }
  void SetChecked(CheckBox box, bool on) override { checked[box] = on; }
  void ShowMessage(std::string_view) override {}
  bool Confirm(std::string_view) override { return true; }
  void SetWaitCursor(bool) override {}
  void LoadDocument(std::string_view bytes) override {
    page.assign(bytes);
    ++loads;
  }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view) override { return file; }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return file; }
  bool ShowWelcome() override { return false; }
  void PostToGuiThread(std::function<void()>) override {}

  std::vector<std::string> items;
  std::string entry;
  std::string page;
  long loads = 0;
  std::string file;
  std::map<CheckBox, bool> checked{{CheckBox::cbDMC, true},      {CheckBox::cbGamma, true},
                                   {CheckBox::cbAnchor, false},  {CheckBox::cbMadeira, false},
                                   {CheckBox::cbkirov, false},   {CheckBox::cbColorFind, false}};
};

struct Fixture {
  Fixture() {
    directory = std::filesystem::temp_directory_path() / ("talmeko-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    logic = std::make_unique<MainWindowLogic>(window,
                                              MainWindowOptions{directory.string() + "/", [] { return bench::ShippedTables(); }});
    logic->FormCreate();
    // A complete chart: every column, whatever the fresh settings file says.
    for (CheckBox box : {CheckBox::cbGamma, CheckBox::cbAnchor, CheckBox::cbMadeira, CheckBox::cbkirov}) {
      window.checked[box] = true;
    }
    window.items = bench::EveryDmcColour();
  }
  ~Fixture() { std::filesystem::remove_all(directory); }

  std::filesystem::path directory;
  SinkWindow window;
  std::unique_ptr<MainWindowLogic> logic;
};

void BM_RebuildPageOfEveryDmcColour(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    f.logic->cbColorFindClick();
    benchmark::DoNotOptimize(f.window.page.data());
  }
  state.counters["colours"] = static_cast<double>(f.window.items.size());
  state.counters["loads"] = static_cast<double>(f.window.loads) / static_cast<double>(state.iterations());
  state.counters["page_bytes"] = static_cast<double>(f.window.page.size());
}
BENCHMARK(BM_RebuildPageOfEveryDmcColour)->Unit(benchmark::kMillisecond);

void BM_LoadColourSetOfEveryDmcColour(benchmark::State& state) {
  Fixture f;
  f.window.file = (f.directory / "all.talmeko").string();
  f.logic->sBitBtn2Click();
  for (auto _ : state) {
    f.logic->sBitBtn1Click();
    benchmark::DoNotOptimize(f.window.page.data());
  }
  state.counters["colours"] = static_cast<double>(f.window.items.size());
}
BENCHMARK(BM_LoadColourSetOfEveryDmcColour)->Unit(benchmark::kMillisecond);

void BM_AddOneColourToEveryDmcColour(benchmark::State& state) {
  Fixture f;
  // 310 is added at the end of all the others each time, so it starts out of the list.
  std::erase(f.window.items, std::string("310 (dmc)"));
  f.logic->cbColorFindClick();
  for (auto _ : state) {
    f.window.entry = "310";
    f.logic->sEdit1KeyPress('\r');
    benchmark::DoNotOptimize(f.window.page.data());
    state.PauseTiming();
    f.window.items.pop_back();
    f.logic->cbColorFindClick();
    state.ResumeTiming();
  }
  state.counters["colours"] = static_cast<double>(f.window.items.size() + 1);
}
BENCHMARK(BM_AddOneColourToEveryDmcColour)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::app
