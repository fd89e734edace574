// The preview window's behaviour: pages, navigation, the layout of the page
// area, zoom and tools, painting and printing.

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_printer_spooler.h"
#include "platform/qt/qt_screen_info.h"
#include "preview/ui/go_page_form.h"
#include "preview/ui/page_box.h"
#include "preview/ui/preview_form.h"
#include "preview/ui/prn_status_form.h"
#include "preview/ui/spin_edit.h"

namespace talmeko::preview::ui {
namespace {

constexpr int kHighestPrintPage = 9999;
constexpr platform::Color kGridColor = platform::Rgb(192, 192, 192);

platform::qt::QtPrinterSpooler* CurrentQtSpooler() {
  return dynamic_cast<platform::qt::QtPrinterSpooler*>(platform::CurrentPrinter());
}

// The print dialog opens on the current printer.
void OfferCurrentPrinter(QPrinter& printer) {
  if (platform::qt::QtPrinterSpooler* spooler = CurrentQtSpooler()) spooler->OfferTo(printer);
}

}  // namespace

void SelectDialogPrinter(const QPrinter& printer) {
  if (platform::qt::QtPrinterSpooler* spooler = CurrentQtSpooler()) spooler->SelectFrom(printer);
}

void TPreviewForm::ConnectControls() {
  connect(NextPageBut, &QToolButton::clicked, this, [this] { NextPageButClick(); });
  connect(NextPageSpeed, &QToolButton::clicked, this, [this] { NextPageButClick(); });
  connect(PrevPageBut, &QToolButton::clicked, this, [this] { PrevPageButClick(); });
  connect(PrevPageSpeed, &QToolButton::clicked, this, [this] { PrevPageButClick(); });
  connect(FirstPageSpeed, &QToolButton::clicked, this, [this] { FirstPageSpeedClick(); });
  connect(LastPageSpeed, &QToolButton::clicked, this, [this] { LastPageSpeedClick(); });
  connect(PageNumSpeed, &QToolButton::clicked, this, [this] { PageNumSpeedClick(); });
  connect(ZoomBox, &QComboBox::activated, this, [this] { ZoomBoxChange(); });
  connect(FitPageBut, &QToolButton::clicked, this, [this] { SelectZoomItem(ziFitToPage); });
  connect(FitWidthBut, &QToolButton::clicked, this, [this] { SelectZoomItem(ziFitToWidth); });
  connect(TwoPageBut, &QToolButton::clicked, this, [this] {
    ZoomBox->setCurrentIndex(ziFitToPage);
    ScrollBox1Resize();
  });
  connect(OnePageBut, &QToolButton::released, this, [this] {
    ZoomBox->setCurrentIndex(ziFitToPage);
    ScrollBox1Resize();
  });
  connect(OnePageBut, &QToolButton::clicked, this, [this] { ScrollBox1Resize(); });
  connect(GridBut, &QToolButton::clicked, this, [this] {
    PB1->update();
    PB2->update();
  });
  connect(UnitsBox, &QComboBox::activated, this, [this] {
    if (GridBut->isChecked()) {
      PB1->update();
      PB2->update();
    }
  });
  connect(ZoomCursorBut, &QToolButton::clicked, this, [this] { SetPageCursor(zoomCursor_); });
  connect(HandCursorBut, &QToolButton::clicked, this, [this] { SetPageCursor(handCursor_); });
  connect(PrintBut, &QToolButton::clicked, this, [this] { PrintButClick(); });
  connect(CloseBut, &QToolButton::clicked, this, &QDialog::reject);
}

void TPreviewForm::ShowPage(int n) {
  CurPage_ = n;
  const int count = PageCount();
  CurPageLabel->setText(QString("Page %1 of %2").arg(count > 0 ? n + 1 : 0).arg(count));
  PB1->update();
  PB2->update();
}

void TPreviewForm::UpdateNavButtons() {
  const int count = PageCount();
  const bool forward = CurPage_ + 1 < count;
  const bool back = CurPage_ > 0;
  for (QToolButton* b : {NextPageBut, NextPageSpeed, LastPageSpeed}) b->setEnabled(forward);
  for (QToolButton* b : {PrevPageBut, PrevPageSpeed, FirstPageSpeed}) b->setEnabled(back);
  PageNumSpeed->setEnabled(count > 1);
  PrintBut->setEnabled(count > 0);
}

void TPreviewForm::Navigate(int page) {
  ShowPage(page);
  UpdateNavButtons();
}

void TPreviewForm::NextPageButClick() { Navigate(CurPage_ + 1); }
void TPreviewForm::PrevPageButClick() { Navigate(CurPage_ - 1); }
void TPreviewForm::FirstPageSpeedClick() { Navigate(0); }
void TPreviewForm::LastPageSpeedClick() { Navigate(PageCount() - 1); }

void TPreviewForm::PageNumSpeedClick() {
  TGoPageForm dialog(this);
  dialog.PageNum->SetMaxValue(PageCount());
  dialog.PageNum->SetValue(CurPage_ + 1);
  if (dialog.exec() == QDialog::Accepted) Navigate(dialog.PageNum->Value() - 1);
}

platform::SheetMetrics TPreviewForm::Sheet() const {
  if (!Recorder_ || Recorder_->PageCount() == 0) return {};
  return Recorder_->Sheet();
}

TPageArea TPreviewForm::Area() const {
  const QSize client = ScrollBox1->viewport()->size();
  return {client.width(), client.height(), ScrollBox1->width(), ScrollBox1->height(), logicalDpiX()};
}

void TPreviewForm::ScrollBox1Resize() {
  const int item = ZoomBox->currentIndex();
  FitPageBut->setChecked(item == ziFitToPage);
  FitWidthBut->setChecked(item == ziFitToWidth);
  if (item < 0) ZoomBox->setCurrentIndex(ziFitToPage);
  const platform::SheetMetrics sheet = Sheet();
  const TPageArea area = Area();
  const double z = ZoomOfItem(ZoomBox->currentIndex(), Zoom_, area, sheet);
  if (ZoomBox->currentIndex() != ziFitToPage) OnePageBut->setChecked(true);
  const TPreviewLayout layout = LayOutPages(z, TwoPageBut->isChecked(), area, sheet);
  ApplyLayout(layout);
  // Showing or hiding the scroll bars resizes the client area, which lays
  // the page area out again; that inner run has the last word.
  const int run = ++layoutRuns_;
  const Qt::ScrollBarPolicy bars = layout.scrollBars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  ScrollBox1->setHorizontalScrollBarPolicy(bars);
  ScrollBox1->setVerticalScrollBarPolicy(bars);
  if (run != layoutRuns_) return;
  Zoom_ = z;
  ZoomLabel->setText(QLocale().toString(z * 100, 'f', 0) + "%");
}

void TPreviewForm::ApplyLayout(const TPreviewLayout& layout) {
  const bool two = TwoPageBut->isChecked();
  ContainPanel->resize(layout.containWidth, layout.containHeight);
  PagePanel->setGeometry(layout.pageLeft, layout.pageTop, layout.pageWidth, layout.pageHeight);
  PagePanel2->setGeometry(layout.page2Left, layout.pageTop, layout.pageWidth, layout.pageHeight);
  PB1->setGeometry(0, 0, layout.pageWidth, layout.pageHeight);
  PB2->setGeometry(0, 0, layout.pageWidth, layout.pageHeight);
  PagePanel->setVisible(layout.pageWidth > 0);
  PagePanel2->setVisible(two && layout.pageWidth > 0);
}

void TPreviewForm::ZoomBoxChange() {
  ScrollBox1Resize();
  ScrollBox1Resize();
}

void TPreviewForm::SelectZoomItem(int item) {
  ZoomBox->setCurrentIndex(item);
  ZoomBoxChange();
}

void TPreviewForm::PBPaint(TPageBox& box, QPainter& painter) {
  painter.fillRect(box.rect(), Qt::white);
  const platform::SheetMetrics sheet = Sheet();
  if (!SheetUsable(sheet) || box.width() <= 0 || box.height() <= 0) return;
  const int index = &box == PB1 ? CurPage_ : CurPage_ + 1;
  const bool drawn = &box == PB1 ? index < PageCount() : TwoPageBut->isChecked() && index < PageCount();
  platform::qt::QtCanvas canvas(painter, platform::qt::CurrentScreenInfo(this));
  platform::Mapping mapping{true,
                            {-sheet.physicalOffsetX, -sheet.physicalOffsetY},
                            {sheet.physicalWidth, sheet.physicalHeight},
                            {0, 0},
                            {box.width(), box.height()}};
  canvas.SetMapping(mapping);
  if (drawn) {
    const platform::RecordedPage& page = Recorder_->Pages(index);
    platform::ReplayPage(page, canvas, {0, 0, page.Extent().width, page.Extent().height}, mapping);
  }
  if (GridBut->isChecked()) PaintGrid(canvas, mapping, sheet);
}

void TPreviewForm::PaintGrid(platform::Canvas& canvas, platform::Mapping mapping, const platform::SheetMetrics& sheet) {
  mapping.windowOrg = {0, 0};
  canvas.SetMapping(mapping);
  const double perInch = UnitsBox->currentIndex() == 0 ? 1.0 : 2.54;
  const int width = sheet.physicalWidth;
  const int height = sheet.physicalHeight;
  for (int x : GridPositions(width, sheet.logPixelsX, perInch)) canvas.DrawLine({x, 0}, {x, height}, kGridColor);
  for (int y : GridPositions(height, sheet.logPixelsY, perInch)) canvas.DrawLine({0, y}, {width, y}, kGridColor);
}

void TPreviewForm::PB1MouseDown(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (HandCursorBut->isChecked()) {
    PanStartX = at.x();
    PanStartY = at.y();
    Panning = true;
    return;
  }
  if (!ZoomCursorBut->isChecked() || printing_ || PagePanel->width() <= 0) return;
  const float rx = static_cast<float>(at.x()) / static_cast<float>(PagePanel->width());
  const float ry = static_cast<float>(at.y()) / static_cast<float>(PagePanel->height());
  Zoom_ = ClickedZoom(Zoom_, event->buttons() & Qt::LeftButton, event->buttons() & Qt::RightButton);
  ZoomBox->setCurrentIndex(ziCustom);
  ScrollBox1Resize();
  ScrollBox1->horizontalScrollBar()->setValue(RecentredScroll(PagePanel->width(), rx, ScrollBox1->width()));
  ScrollBox1->verticalScrollBar()->setValue(RecentredScroll(PagePanel->height(), ry, ScrollBox1->height()));
}

void TPreviewForm::PB1MouseMove(QMouseEvent* event) {
  if (!Panning) return;
  const QPoint at = event->position().toPoint();
  QScrollBar* h = ScrollBox1->horizontalScrollBar();
  QScrollBar* v = ScrollBox1->verticalScrollBar();
  h->setValue(h->value() + PanStartX - at.x());
  v->setValue(v->value() + PanStartY - at.y());
}

void TPreviewForm::PB1MouseUp(QMouseEvent*) { Panning = false; }

void TPreviewForm::SetPageCursor(const QCursor& cursor) {
  PB1->setCursor(cursor);
  PB2->setCursor(cursor);
}

// Every control but the page area waits while a print runs: the progress
// dialog lets messages through between pages, and a second print or a page
// change then would re-enter the view's pagination or the window's state.
void TPreviewForm::SetControlsEnabled(bool enabled) {
  ToolBarPanel->setEnabled(enabled);
  StatBarPanel->setEnabled(enabled);
}

// Marks a print as running for as long as it runs, also when it raises.
struct TPreviewForm::PrintingScope {
  explicit PrintingScope(TPreviewForm& form) : form_(form) {
    form_.printing_ = true;
    form_.SetControlsEnabled(false);
  }
  ~PrintingScope() {
    form_.printing_ = false;
    form_.SetControlsEnabled(true);
  }
  PrintingScope(const PrintingScope&) = delete;
  PrintingScope& operator=(const PrintingScope&) = delete;
  TPreviewForm& form_;
};

void TPreviewForm::PrintButClick() {
  if (printing_ || PageCount() == 0) return;
  QPrinter printer;
  OfferCurrentPrinter(printer);
  QPrintDialog dialog(&printer, this);
  dialog.setMinMax(1, kHighestPrintPage);
  dialog.setFromTo(1, 1);
  // Page ranges only; Qt's PDF output stays, as it is how the dialog offers
  // the built-in PDF printer.
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile);
  TPrnStatusForm status(this);
  if (RunPrintDialog(dialog) != QDialog::Accepted) return;
  const bool range = dialog.printRange() == QAbstractPrintDialog::PageRange;
  const int first = range && printer.fromPage() > 0 ? printer.fromPage() : 1;
  const int last = range ? printer.toPage() : kHighestPrintPage;
  SelectChosenPrinter(*dialog.printer());
  PrintingScope scope(*this);
  bool aborted = false;
  status.DoPrint(Viewer, first, last, aborted);
}

}  // namespace talmeko::preview::ui
