// The preview window over the result page of every DMC colour, recorded for
// the built-in PDF printer of the Qt spooler: opening the
// window (recording all pages behind the progress dialog, the first layout
// and the first paint of the page area), one repaint of the page area at
// "Fit To Page" and at "400%", and one click of the zoom tool.

#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QImage>
#include <QMouseEvent>
#include <QScrollArea>

#include <memory>
#include <sstream>

#include "every_dmc_colour.h"
#include "htmlview/ui/html_view_widget.h"
#include "offscreen_application.h"
#include "preview/ui/page_box.h"
#include "preview/ui/preview_form.h"
#include "platform/qt/qt_printer_spooler.h"

namespace talmeko::preview::ui {
namespace {

struct PreviewBench {
  PreviewBench() {
    printer.SelectPrinter(platform::qt::QtPrinterSpooler::kPdfPrinterName);
    platform::SetCurrentPrinter(&printer);
    view.resize(546, 348);
    std::istringstream page(bench::EveryDmcColourPage());
    view.LoadFromStream(&page, "", htmlview::TDocType::HTMLType);
  }
  ~PreviewBench() { platform::SetCurrentPrinter(nullptr); }

  std::unique_ptr<TPreviewForm> Open() {
    bool aborted = false;
    auto form = std::make_unique<TPreviewForm>(nullptr, view, aborted);
    form->resize(1280, 900);
    form->show();
    PaintPageArea(*form);
    return form;
  }

  // Paints the page area with its page boxes into an image, as the screen would.
  void PaintPageArea(TPreviewForm& form) {
    QWidget* area = form.ScrollBox1->viewport();
    if (image.size() != area->size()) image = QImage(area->size(), QImage::Format_RGB32);
    area->render(&image);
  }

  QImage image;

  QApplication& app = bench::OffscreenApplication();  // before any widget
  platform::qt::QtPrinterSpooler printer;
  htmlview::ui::THtmlViewWidget view;
};

PreviewBench& Bench() {
  static PreviewBench* bench = new PreviewBench;
  return *bench;
}

void BM_OpenPreviewEveryDmcColour(benchmark::State& state) {
  PreviewBench& b = Bench();
  int pages = 0;
  for (auto _ : state) {
    std::unique_ptr<TPreviewForm> form = b.Open();
    pages = form->Recorder()->PageCount();
    benchmark::DoNotOptimize(form.get());
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_OpenPreviewEveryDmcColour)->Unit(benchmark::kMillisecond);

void RepaintAt(benchmark::State& state, const char* item) {
  std::unique_ptr<TPreviewForm> form = Bench().Open();
  form->ZoomBox->setCurrentIndex(form->ZoomBox->findText(item));
  emit form->ZoomBox->activated(form->ZoomBox->currentIndex());
  for (auto _ : state) Bench().PaintPageArea(*form);
}

void BM_RepaintPageAreaFitToPage(benchmark::State& state) { RepaintAt(state, "Fit To Page"); }
BENCHMARK(BM_RepaintPageAreaFitToPage)->Unit(benchmark::kMillisecond);

void BM_RepaintPageArea400(benchmark::State& state) { RepaintAt(state, "400%"); }
BENCHMARK(BM_RepaintPageArea400)->Unit(benchmark::kMillisecond);

// A left click and a right click in turn, so the zoom stays between 1 and
// 1.5; each is followed by the repaint it causes.
void BM_ZoomClick(benchmark::State& state) {
  std::unique_ptr<TPreviewForm> form = Bench().Open();
  form->ZoomBox->setCurrentIndex(form->ZoomBox->findText("100%"));
  emit form->ZoomBox->activated(form->ZoomBox->currentIndex());
  bool left = true;
  for (auto _ : state) {
    const QPointF at(form->PB1->width() / 2.0, form->PB1->height() / 2.0);
    const Qt::MouseButton button = left ? Qt::LeftButton : Qt::RightButton;
    QMouseEvent press(QEvent::MouseButtonPress, at, form->PB1->mapToGlobal(at), button, button, {});
    QApplication::sendEvent(form->PB1, &press);
    Bench().PaintPageArea(*form);
    left = !left;
  }
}
BENCHMARK(BM_ZoomClick)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::preview::ui
