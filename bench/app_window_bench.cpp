// The real main window on Qt's offscreen platform, with every column shown:
// rebuilding the page of every DMC colour of the shipped palette, loading a
// colour set file of those colours, and adding one colour to that list, each
// until the page has been parsed and laid out in the view.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/colour_set_file.h"
#include "app/ui/main_window.h"
#include "every_dmc_colour.h"
#include "offscreen_application.h"
#include "platform/profile.h"

namespace talmeko::app::ui {
namespace {

class Window {
 public:
  Window() {
    bench::OffscreenApplication();
    directory_ = std::filesystem::temp_directory_path() / ("talmeko-window-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
    window_ = std::make_unique<TfMain>(MainWindowOptions{directory_.string() + "/", [] { return bench::ShippedTables(); }});
    window_->SetConfirmHook([](std::string_view) { return true; });
    window_->SetMessageHook([](std::string_view) {});
    window_->show();
    QApplication::processEvents();
    for (const char* name : {"cbGamma", "cbAnchor", "cbMadeira", "cbkirov"}) {
      auto* box = window_->findChild<QCheckBox*>(QString::fromLatin1(name));
      if (!box->isChecked()) box->click();
    }
  }
  ~Window() {
    window_.reset();
    std::filesystem::remove_all(directory_);
  }

  // Writes a colour set file of the items and loads it through the open button.
  void LoadSet(const std::vector<std::string>& items) {
    const std::string path = (directory_ / "set.talmeko").string();
    platform::ProfileDocument document;
    WriteColourSet(document, items);
    document.Save(path);
    window_->SetOpenFileHook([path](std::string_view, std::string_view) { return path; });
    Child<QToolButton>("sBitBtn1")->click();
  }
  void Enter(const QString& number) {
    auto* entry = Child<QLineEdit>("sEdit1");
    entry->setText(number);
    QTest::keyClick(entry, Qt::Key_Return);
  }
  // The nearest-colour switch: each click rebuilds the whole table.
  void ToggleNearest() { Child<QCheckBox>("cbColorFind")->click(); }
  int Count() const { return Child<QListWidget>("clbMoulineID")->count(); }
  std::size_t PageBytes() const { return window_->LoadedPage().size(); }

  template <typename T>
  T* Child(const char* name) const {
    return window_->findChild<T*>(QString::fromLatin1(name));
  }

 private:
  std::filesystem::path directory_;
  std::unique_ptr<TfMain> window_;
};

void BM_RebuildPageOfEveryDmcColourIntoTheView(benchmark::State& state) {
  Window w;
  w.LoadSet(bench::EveryDmcColour());
  for (auto _ : state) w.ToggleNearest();
  state.counters["colours"] = w.Count();
  state.counters["page_bytes"] = static_cast<double>(w.PageBytes());
}
BENCHMARK(BM_RebuildPageOfEveryDmcColourIntoTheView)->Unit(benchmark::kMillisecond);

void BM_LoadColourSetOfEveryDmcColourIntoTheView(benchmark::State& state) {
  Window w;
  const std::vector<std::string> items = bench::EveryDmcColour();
  for (auto _ : state) w.LoadSet(items);
  state.counters["colours"] = w.Count();
}
BENCHMARK(BM_LoadColourSetOfEveryDmcColourIntoTheView)->Unit(benchmark::kMillisecond);

void BM_AddOneColourToEveryDmcColourIntoTheView(benchmark::State& state) {
  Window w;
  std::vector<std::string> items = bench::EveryDmcColour();
  std::erase(items, std::string("310 (dmc)"));
  for (auto _ : state) {
    state.PauseTiming();
    w.LoadSet(items);
    state.ResumeTiming();
    w.Enter(QStringLiteral("310"));
  }
  state.counters["colours"] = w.Count();
}
BENCHMARK(BM_AddOneColourToEveryDmcColourIntoTheView)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::app::ui
