// The view as the main window has it (546 x 348 pixels, the installed fonts
// through Qt): the complete LoadFromStream of the page of every DMC colour
// with all five columns (decode, parse, style, lay out, scroll bars), and
// painting one screenful of it off screen, as a paint request does.
// Runs on Qt's offscreen platform unless another is chosen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "htmlview/ui/html_view_widget.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_screen_info.h"
#include "report/result_page_builder.h"

namespace talmeko::htmlview {
namespace {

class AllColumnsHost final : public report::PageHost {
 public:
  explicit AllColumnsHost(std::vector<std::string> items) : items_(std::move(items)) {}
  bool ColumnShown(std::size_t) const override { return true; }
  bool NearestColourMode() const override { return false; }
  std::size_t ColourCount() const override { return items_.size(); }
  std::string ColourItem(std::size_t index) const override { return items_[index]; }
  void RepaintColourList() override {}
  void LoadPage(std::string_view bytes) override { page.assign(bytes); }
  void EnableResultButtons() override {}
  void SetWaitCursor(bool) override {}
  std::string page;

 private:
  std::vector<std::string> items_;
};

const std::string& EveryDmcColourPage() {
  static const std::string page = [] {
    const catalogue::Tables tables = catalogue::LoadTables();
    std::vector<std::string> items;
    for (const catalogue::Palette& entry : tables.PaletteTable()) {
      if (entry.Brand == "dmc") items.push_back(entry.Number + " (dmc)");
    }
    AllColumnsHost host(std::move(items));
    report::ResultPageBuilder builder(tables, host);
    builder.RebuildPage();
    return host.page;
  }();
  return page;
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "htmlview_widget_bench";
  static char* argv[] = {name, nullptr};
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct ShownView {
  ShownView() {
    view.resize(546, 348);
    view.show();
    QApplication::processEvents();
  }
  void Load() {
    std::stringstream stream(EveryDmcColourPage());
    view.LoadFromStream(&stream, "", TDocType::HTMLType);
  }
  QApplication& app = App();  // before the widget
  ui::THtmlViewWidget view;
};

void BM_LoadFromStreamWithLayout(benchmark::State& state) {
  ShownView shown;
  for (auto _ : state) {
    shown.Load();
    benchmark::DoNotOptimize(shown.view.DocumentView());
  }
  state.counters["document_height"] = shown.view.Controller().Layout().document.documentHeight;
  state.counters["page_bytes"] = static_cast<double>(EveryDmcColourPage().size());
}
BENCHMARK(BM_LoadFromStreamWithLayout)->Unit(benchmark::kMillisecond);

// One paint request for the whole drawing area, into an off-screen image
// the size of the request, halfway down the page.
void BM_PaintOneScreenful(benchmark::State& state) {
  ShownView shown;
  shown.Load();
  THtmlViewController& controller = shown.view.Controller();
  controller.SetVerticalPosition(controller.MaxVerticalPosition() / 2);
  const platform::Size area = controller.DrawingArea();
  for (auto _ : state) {
    QImage image(area.width, area.height, QImage::Format_RGB32);
    QPainter painter(&image);
    platform::qt::QtCanvas canvas(painter, platform::qt::CurrentScreenInfo(&shown.view));
    controller.Paint(canvas, {0, 0, area.width, area.height});
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["width"] = area.width;
  state.counters["height"] = area.height;
}
BENCHMARK(BM_PaintOneScreenful)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::htmlview
