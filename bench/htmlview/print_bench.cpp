// Printing the page of every DMC colour with all five columns (about 14 A4
// pages) on the built-in PDF printer: recording every page for the preview
// (RenderPreview into the page recorder), replaying one recorded page onto an
// off-screen image as the preview paints it, and printing the whole page to a
// PDF file (PrintPages on the system printer). Fonts are the installed ones.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <sstream>
#include <string>

#include "every_dmc_colour.h"
#include "htmlview/view/html_view.h"
#include "offscreen_application.h"
#include "platform/metafile_canvas.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_font_catalogue.h"
#include "platform/qt/qt_printer_spooler.h"
#include "platform/qt/qt_screen_info.h"
#include "preview/metafile_printer.h"

namespace talmeko::htmlview {
namespace {

struct PrintSetup {
  PrintSetup() {
    spooler.SelectPrinter(platform::qt::QtPrinterSpooler::kPdfPrinterName);
    spooler.SetPdfOutputFile(output);
    platform::SetCurrentPrinter(&spooler);
    std::stringstream stream(bench::EveryDmcColourPage());
    view.LoadFromStream(&stream, "", TDocType::HTMLType);
  }
  ~PrintSetup() {
    platform::SetCurrentPrinter(nullptr);
    std::remove(output.c_str());
  }
  QApplication& app = bench::OffscreenApplication();
  platform::qt::QtFontCatalogue fonts;
  platform::ScreenInfo screen = platform::qt::CurrentScreenInfo(nullptr);
  THtmlView view{fonts, screen};
  platform::qt::QtPrinterSpooler spooler;
  std::string output = "/tmp/talmeko_print_bench.pdf";
};

void BM_RenderPreviewEveryDmcColour(benchmark::State& state) {
  PrintSetup setup;
  preview::TMetaFilePrinter recorder(setup.screen);
  int pages = 0;
  for (auto _ : state) pages = setup.view.RenderPreview(&recorder, false, 1, 2147483647);
  std::size_t bytes = 0;
  for (int i = 0; i < recorder.PageCount(); ++i) bytes += recorder.Pages(i).MemoryBytes();
  state.counters["pages"] = pages;
  state.counters["recorded_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["dpi"] = recorder.LogPixelsX();
}
BENCHMARK(BM_RenderPreviewEveryDmcColour)->Unit(benchmark::kMillisecond);

void BM_ReplayOneRecordedPage(benchmark::State& state) {
  PrintSetup setup;
  preview::TMetaFilePrinter recorder(setup.screen);
  setup.view.RenderPreview(&recorder, false, 1, 2147483647);
  QImage image(1000, 1400, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::qt::QtCanvas canvas(painter, setup.screen);
    platform::ReplayPage(recorder.Pages(1), canvas, {0, 0, 1000, 1400});
  }
}
BENCHMARK(BM_ReplayOneRecordedPage)->Unit(benchmark::kMillisecond);

void BM_PrintPagesEveryDmcColourToPdf(benchmark::State& state) {
  PrintSetup setup;
  int pages = 0;
  for (auto _ : state) pages = setup.view.PrintPages(1, 2147483647);
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintPagesEveryDmcColourToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::htmlview
