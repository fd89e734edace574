// The view as the main window has it (546 x 348 pixels, the installed fonts
// through Qt): the complete LoadFromStream of the page of every DMC colour
// with all five columns (decode, parse, style, lay out, scroll bars), and
// painting one screenful of it off screen, as a paint request does.
// Runs on Qt's offscreen platform unless another is chosen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <sstream>
#include <string>
#include <vector>

#include "every_dmc_colour.h"
#include "htmlview/ui/html_view_widget.h"
#include "offscreen_application.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_screen_info.h"

namespace talmeko::htmlview {
namespace {

using bench::EveryDmcColourPage;

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
  QApplication& app = bench::OffscreenApplication();  // before the widget
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

// Paint requests for the whole drawing area, each into an off-screen image
// the size of the request.
void PaintScreenfuls(benchmark::State& state, ShownView& shown) {
  THtmlViewController& controller = shown.view.Controller();
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

// One screenful halfway down the page.
void BM_PaintOneScreenful(benchmark::State& state) {
  ShownView shown;
  shown.Load();
  THtmlViewController& controller = shown.view.Controller();
  controller.SetVerticalPosition(controller.MaxVerticalPosition() / 2);
  PaintScreenfuls(state, shown);
}
BENCHMARK(BM_PaintOneScreenful)->Unit(benchmark::kMillisecond);

// One screenful of a page that is a single word of 10 MB: only the part of
// it inside the clip is drawn.
void BM_PaintTenMegabyteWord(benchmark::State& state) {
  ShownView shown;
  std::stringstream stream("<html><body>" + std::string(10'000'000, 'w') + "</body></html>");
  shown.view.LoadFromStream(&stream, "", TDocType::HTMLType);
  PaintScreenfuls(state, shown);
}
BENCHMARK(BM_PaintTenMegabyteWord)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::htmlview
