#include "platform/qt/qt_printer_spooler.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <algorithm>
#include <cmath>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_text.h"

namespace talmeko::platform::qt {
namespace {

constexpr int kSpoolerError = -1;
// The built-in printer's sheet: A4 at a resolution fine enough for print.
constexpr int kPdfResolution = 600;

std::string DefaultPdfOutputFile() {
  const QString home = QDir::homePath();
  const QString folder = home.isEmpty() || !QDir(home).exists() ? QDir::currentPath() : home;
  return ToCp1251(QDir(folder).filePath(QStringLiteral("talmeko.pdf")));
}

// A printer's sheet as the job will be laid out on it: its own resolution,
// paper and hardware margins for a CUPS printer; A4 without margins for the PDF printer.
std::unique_ptr<QPrinter> MakeSheet(const std::string& name, bool pdf) {
  auto sheet = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (pdf) {
    sheet->setOutputFormat(QPrinter::PdfFormat);
    sheet->setResolution(kPdfResolution);
    sheet->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  } else {
    sheet->setPrinterName(FromCp1251(name));
    sheet->setPageMargins(sheet->pageLayout().minimumMargins());
  }
  sheet->setFullPage(false);
  return sheet;
}

// Written rather than copied, so that the file gets the user's usual
// permissions and not the private ones of the spool file.
bool CopyToOutputFile(const QString& spooled, const QString& target) {
  QFile source(spooled);
  QFile output(target);
  if (!source.open(QIODevice::ReadOnly) || !output.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray bytes = source.readAll();
  return output.write(bytes) == bytes.size() && output.flush();
}

}  // namespace

// One context. Jobs are written to a temporary PDF with the sheet's layout
// and handed over only when they end, so that an aborted job leaves nothing
// behind: Qt itself cannot take back a job once its painter has begun.
struct QtPrinterSpooler::Context {
  Context(const std::string& printerName, bool pdfPrinter, bool deviceContext)
      : name(printerName), pdf(pdfPrinter), device(deviceContext), sheet(MakeSheet(printerName, pdfPrinter)) {
    const int dotsPerMetre = static_cast<int>(std::lround(sheet->resolution() / 0.0254));
    measureImage.setDotsPerMeterX(dotsPerMetre);
    measureImage.setDotsPerMeterY(dotsPerMetre);
    measurePainter.begin(&measureImage);
    measureCanvas = std::make_unique<QtCanvas>(measurePainter);
  }

  std::string name;
  bool pdf;
  bool device;
  std::unique_ptr<QPrinter> sheet;
  QImage measureImage{1, 1, QImage::Format_ARGB32_Premultiplied};
  QPainter measurePainter;
  std::unique_ptr<QtCanvas> measureCanvas;

  AbortProc abortProc = nullptr;
  std::string docName;
  std::unique_ptr<QTemporaryFile> spoolFile;
  std::unique_ptr<QPrinter> jobPrinter;
  std::unique_ptr<QPainter> jobPainter;
  std::unique_ptr<QtCanvas> jobCanvas;
  bool pageEnded = false;
};

QtPrinterSpooler::QtPrinterSpooler() : pdfOutputFile_(DefaultPdfOutputFile()) {
  const QString systemDefault = QPrinterInfo::defaultPrinterName();
  if (systemDefault.isEmpty() || !SelectPrinter(ToCp1251(systemDefault))) selected_ = kPdfPrinterName;
}

QtPrinterSpooler::~QtPrinterSpooler() {
  for (auto& [handle, context] : contexts_) {
    if (context->jobPainter) StopJob(*context, true);
  }
}

bool QtPrinterSpooler::SelectPrinter(const std::string& name) {
  const std::vector<std::string> installed = InstalledPrinters();
  if (std::find(installed.begin(), installed.end(), name) == installed.end()) return false;
  if (name == selected_) return true;
  selected_ = name;
  if (query_ != kNoPrinterHandle) DeleteDC(query_);
  query_ = kNoPrinterHandle;
  return true;
}

void QtPrinterSpooler::OfferTo(QPrinter& printer) const {
  if (PdfSelected()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdfOutputFile_));
  } else {
    printer.setPrinterName(FromCp1251(selected_));
  }
}

void QtPrinterSpooler::SelectFrom(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    SelectPrinter(kPdfPrinterName);
    if (!printer.outputFileName().isEmpty()) pdfOutputFile_ = printer.outputFileName().toStdString();
  } else {
    SelectPrinter(ToCp1251(printer.printerName()));
  }
}

std::vector<std::string> QtPrinterSpooler::InstalledPrinters() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) {
    if (name != QLatin1String(kPdfPrinterName)) names.push_back(ToCp1251(name));
  }
  names.emplace_back(kPdfPrinterName);
  return names;
}

SelectedPrinter QtPrinterSpooler::Selected() {
  SelectedPrinter printer;
  printer.device = selected_;
  printer.driver = PdfSelected() ? "pdf" : "cups";
  printer.port = PdfSelected() ? pdfOutputFile_ : selected_;
  return printer;
}

PrinterHandle QtPrinterSpooler::QueryHandle() {
  if (query_ == kNoPrinterHandle) query_ = CreateIC(Selected());
  return query_;
}

PrinterHandle QtPrinterSpooler::CreateIC(const SelectedPrinter& printer) { return Create(printer, false); }
PrinterHandle QtPrinterSpooler::CreateDC(const SelectedPrinter& printer) { return Create(printer, true); }

PrinterHandle QtPrinterSpooler::Create(const SelectedPrinter& printer, bool device) {
  const bool pdf = printer.device == kPdfPrinterName;
  if (!pdf && QPrinterInfo::printerInfo(FromCp1251(printer.device)).isNull()) return kNoPrinterHandle;
  auto context = std::make_unique<Context>(printer.device, pdf, device);
  if (!context->sheet->isValid() || context->sheet->resolution() <= 0) return kNoPrinterHandle;
  const PrinterHandle handle = nextHandle_++;
  contexts_[handle] = std::move(context);
  return handle;
}

void QtPrinterSpooler::DeleteDC(PrinterHandle handle) {
  Context* context = Find(handle);
  if (context == nullptr) return;
  if (context->jobPainter) StopJob(*context, true);
  contexts_.erase(handle);
}

QtPrinterSpooler::Context* QtPrinterSpooler::Find(PrinterHandle handle) {
  auto it = contexts_.find(handle);
  return it != contexts_.end() ? it->second.get() : nullptr;
}

QtPrinterSpooler::Context* QtPrinterSpooler::Job(PrinterHandle dc) {
  Context* context = Find(dc);
  return context != nullptr && context->jobPainter ? context : nullptr;
}

int QtPrinterSpooler::GetDeviceCaps(PrinterHandle handle, DeviceCap cap) {
  const Context* context = Find(handle);
  if (context == nullptr) return 0;
  const QPrinter& sheet = *context->sheet;
  const QRect paper = sheet.paperRect(QPrinter::DevicePixel).toRect();
  const QRect page = sheet.pageRect(QPrinter::DevicePixel).toRect();
  switch (cap) {
    case DeviceCap::LogPixelsX:
    case DeviceCap::LogPixelsY: return sheet.resolution();
    case DeviceCap::PhysicalWidth: return paper.width();
    case DeviceCap::PhysicalHeight: return paper.height();
    case DeviceCap::PhysicalOffsetX: return page.left() - paper.left();
    case DeviceCap::PhysicalOffsetY: return page.top() - paper.top();
    case DeviceCap::HorzRes: return page.width();
    case DeviceCap::VertRes: return page.height();
  }
  return 0;
}

Canvas* QtPrinterSpooler::CanvasOf(PrinterHandle handle) {
  Context* context = Find(handle);
  if (context == nullptr) return nullptr;
  return context->jobCanvas ? context->jobCanvas.get() : context->measureCanvas.get();
}

int QtPrinterSpooler::SetAbortProc(PrinterHandle dc, AbortProc proc) {
  Context* context = Find(dc);
  if (context == nullptr) return kSpoolerError;
  context->abortProc = proc;
  return 1;
}

int QtPrinterSpooler::StartDoc(PrinterHandle dc, const DocInfo& info) {
  Context* context = Find(dc);
  if (context == nullptr || !context->device || context->jobPainter) return kSpoolerError;
  auto spoolFile = std::make_unique<QTemporaryFile>(QDir(QDir::tempPath()).filePath("talmeko-job-XXXXXX.pdf"));
  if (!spoolFile->open()) return kSpoolerError;
  spoolFile->close();

  auto job = std::make_unique<QPrinter>(QPrinter::HighResolution);
  job->setOutputFormat(QPrinter::PdfFormat);
  job->setOutputFileName(spoolFile->fileName());
  job->setResolution(context->sheet->resolution());
  job->setPageLayout(context->sheet->pageLayout());
  job->setFullPage(false);
  job->setDocName(FromCp1251(info.docName));
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(job.get())) return kSpoolerError;

  context->docName = info.docName;
  context->spoolFile = std::move(spoolFile);
  context->jobPrinter = std::move(job);
  context->jobPainter = std::move(painter);
  context->jobCanvas = std::make_unique<QtCanvas>(*context->jobPainter);
  context->pageEnded = false;
  return 1;
}

// The first page opens with the job; every later one is a new page of the printer.
int QtPrinterSpooler::StartPage(PrinterHandle dc) {
  Context* context = Job(dc);
  if (context == nullptr) return kSpoolerError;
  if (!context->pageEnded) return 1;
  context->pageEnded = false;
  return context->jobPrinter->newPage() ? 1 : kSpoolerError;
}

int QtPrinterSpooler::EndPage(PrinterHandle dc) {
  Context* context = Job(dc);
  if (context == nullptr) return kSpoolerError;
  context->pageEnded = true;
  if (context->abortProc != nullptr && !context->abortProc(dc, 0)) {
    // The procedure may have ended the job itself while handling messages.
    if (Context* still = Job(dc)) StopJob(*still, true);
    return kSpoolerError;
  }
  return 1;
}

int QtPrinterSpooler::EndDoc(PrinterHandle dc) {
  Context* context = Job(dc);
  if (context == nullptr) return kSpoolerError;
  return StopJob(*context, false) ? 1 : kSpoolerError;
}

int QtPrinterSpooler::AbortDoc(PrinterHandle dc) {
  Context* context = Job(dc);
  if (context == nullptr) return kSpoolerError;
  StopJob(*context, true);
  return 1;
}

bool QtPrinterSpooler::StopJob(Context& context, bool abort) {
  context.jobCanvas.reset();
  const bool written = context.jobPainter->end();
  context.jobPainter.reset();
  context.jobPrinter.reset();
  const QString spooled = context.spoolFile->fileName();
  bool delivered = false;
  if (abort || !written) {
    // Nothing reaches the printer or the output file.
  } else if (context.pdf) {
    delivered = CopyToOutputFile(spooled, FromCp1251(pdfOutputFile_));
  } else {
    // CUPS takes printer and job names in UTF-8.
    const QByteArray printer = FromCp1251(context.name).toUtf8();
    const QByteArray title = FromCp1251(context.docName).toUtf8();
    delivered = cupsPrintFile(printer.constData(), QFile::encodeName(spooled).constData(), title.constData(), 0,
                              nullptr) != 0;
  }
  context.spoolFile.reset();
  return delivered;
}

}  // namespace talmeko::platform::qt
