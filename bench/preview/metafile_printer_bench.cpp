// The page recorder with pages like those of the result table: 35 rows of
// five columns per A4 page at 600 dpi (swatch, numbers, colour code, name
// and brand, each cell framed), the rows taken from the shipped DMC palette.
// Recording 14 such pages, with the memory they hold, and replaying one of
// them onto a 1000 x 1400 off-screen image through the Qt canvas, as the
// preview window paints a page. The printer is a fake with fixed glyph
// widths: the recording does not depend on how text is measured.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "counting_allocator.h"
#include "offscreen_application.h"
#include "platform/cp1251.h"
#include "platform/qt/qt_canvas.h"
#include "preview/metafile_printer.h"
#include "support/a4_sheet.h"
#include "support/fake_printer_device.h"

using talmeko::bench::gLive;

namespace talmeko::preview {
namespace {

using platform::FontDesc;
using platform::Mapping;
using platform::Rect;

constexpr int kPages = 14;
constexpr int kRowsPerPage = 35;
constexpr int kRowHeight = 28;                               // logical units
constexpr int kColumnWidths[] = {120, 160, 120, 160, 120};  // logical units

class A4Printer final : public testing::FakePrinterDevice {
 public:
  A4Printer() { sheet = testing::kA4At600Dpi; }
  platform::Canvas* CanvasOf(platform::PrinterHandle) override { return &measure; }
  testing::FakeCanvas measure;
};

struct Row {
  std::u16string number, code, name;
  platform::Color swatch;
};

std::vector<Row> DmcRows() {
  const catalogue::Tables tables = catalogue::LoadTables();
  std::vector<Row> rows;
  for (const catalogue::Palette& p : tables.PaletteTable()) {
    if (p.Brand != "dmc" || p.Code.size() != 7) continue;
    const long rgb = std::strtol(p.Code.c_str() + 1, nullptr, 16);
    rows.push_back({platform::DecodeCp1251(p.Number), platform::DecodeCp1251(p.Code), platform::DecodeCp1251(p.Name),
                    platform::Rgb(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb))});
  }
  return rows;
}

// One table row as the view paints it: the swatch, a frame per cell and a
// text in each of the other four cells.
void DrawRow(platform::Canvas& canvas, const Row& row, int top) {
  const FontDesc cellFont{.family = "Arial", .height = 13};
  const platform::Color grey = platform::Rgb(128, 128, 128);
  const std::u16string_view texts[] = {row.number, row.code, row.name, u"DMC"};
  int left = 10;
  for (int column = 0; column < 5; ++column) {
    const Rect cell{left, top, left + kColumnWidths[column], top + kRowHeight};
    canvas.FrameRect(cell, grey);
    if (column == 0) {
      canvas.FillRect({cell.left + 4, cell.top + 4, cell.right - 4, cell.bottom - 4}, row.swatch);
    } else {
      canvas.SelectFont(cellFont);
      canvas.DrawText(cell.left + 4, cell.top + 6, texts[column - 1], 0);
    }
    left = cell.right;
  }
}

// The pages as the paginator draws them: logical units scaled to the
// printer's 600 dpi, the left margin and the printable pixels clipped.
void RecordPages(TMetaFilePrinter& recorder, const std::vector<Row>& rows) {
  recorder.StartDocument();
  for (int page = 0; page < kPages; ++page) {
    if (page > 0) recorder.StartNextPage();
    platform::Canvas& canvas = *recorder.GetPageCanvas();
    canvas.SetMapping({true, {0, 0}, {96, 96}, {372, 372}, {600, 600}});
    canvas.SelectDeviceClip({372, 372, 4388, 6816});
    for (int r = 0; r < kRowsPerPage; ++r) {
      const Row& row = rows[static_cast<std::size_t>(page * kRowsPerPage + r) % rows.size()];
      DrawRow(canvas, row, 10 + r * kRowHeight);
    }
  }
  recorder.FinishDocument();
}

void BM_RecordFourteenPages(benchmark::State& state) {
  const std::vector<Row> rows = DmcRows();
  A4Printer printer;
  testing::CurrentPrinterScope current(&printer);
  TMetaFilePrinter recorder;
  long long held = 0;
  for (auto _ : state) {
    state.PauseTiming();
    recorder.ClearPages();
    const long long before = gLive;
    state.ResumeTiming();
    RecordPages(recorder, rows);
    held = gLive - before;
  }
  std::size_t recorded = 0;
  std::size_t commands = 0;
  for (int i = 0; i < recorder.PageCount(); ++i) {
    recorded += recorder.Pages(i).MemoryBytes();
    commands += recorder.Pages(i).Commands().size();
  }
  state.counters["pages"] = recorder.PageCount();
  state.counters["commands_per_page"] = static_cast<double>(commands) / recorder.PageCount();
  state.counters["held_MB"] = static_cast<double>(held) / 1e6;
  state.counters["recorded_MB"] = static_cast<double>(recorded) / 1e6;
}
BENCHMARK(BM_RecordFourteenPages)->Unit(benchmark::kMillisecond);

// The preview's paint: the whole sheet scaled into the image, the page
// replayed into its printable area.
void BM_ReplayPageOntoImage(benchmark::State& state) {
  bench::OffscreenApplication();
  const std::vector<Row> rows = DmcRows();
  A4Printer printer;
  testing::CurrentPrinterScope current(&printer);
  TMetaFilePrinter recorder;
  RecordPages(recorder, rows);
  const platform::RecordedPage& page = recorder.Pages(1);
  const Mapping sheet{true, {-100, -100}, {4960, 7016}, {0, 0}, {1000, 1400}};
  const Rect into{0, 0, page.Extent().width, page.Extent().height};
  QImage image(1000, 1400, QImage::Format_RGB32);
  image.fill(Qt::white);
  auto paint = [&] {
    QPainter painter(&image);
    platform::qt::QtCanvas canvas(painter);
    canvas.SetMapping(sheet);
    platform::ReplayPage(page, canvas, into, sheet);
  };
  paint();  // the font cache fills once, as on the preview's first paint
  for (auto _ : state) {
    paint();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["commands"] = static_cast<double>(page.Commands().size());
}
BENCHMARK(BM_ReplayPageOntoImage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talmeko::preview
