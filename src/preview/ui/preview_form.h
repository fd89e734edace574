#pragma once
// The print preview: the main window's result page as printed pages, with a
// toolbar, a scrolled page area showing one page or two side by side, and a
// status bar. The pages are recorded once when the window is created (behind
// the progress dialog) and replayed at every paint; printing paginates the
// view again onto the printer chosen in the print dialog.

#include <QCursor>
#include <QDialog>

#include <functional>
#include <memory>

#include "preview/metafile_printer.h"
#include "preview/preview_layout.h"
#include "htmlview/view/html_view.h"

class QComboBox;
class QFrame;
class QLabel;
class QPrintDialog;
class QPrinter;
class QScrollArea;
class QToolButton;
class QWidget;

namespace talmeko::htmlview::ui {
class THtmlViewWidget;
}

namespace talmeko::preview::ui {

class TPageBox;

// Selects the printer of the print dialog in the Qt spooler, where that is the current printer.
void SelectDialogPrinter(const QPrinter& printer);

class TPreviewForm : public QDialog {
  Q_OBJECT

 public:
  // Records the document's pages behind the progress dialog. `aborted` tells
  // whether the user cancelled the recording; an error of the recording
  // leaves the constructor.
  TPreviewForm(QWidget* owner, htmlview::ui::THtmlViewWidget& view, bool& aborted);
  ~TPreviewForm() override;

  // Runs the print dialog; the default shows it modally. Tests answer it.
  std::function<int(QPrintDialog& dialog)> RunPrintDialog;
  // Makes the printer chosen in the print dialog the current system printer;
  // by default SelectDialogPrinter.
  std::function<void(const QPrinter& chosen)> SelectChosenPrinter;

  double Zoom() const { return Zoom_; }
  int CurPage() const { return CurPage_; }
  bool Printing() const { return printing_; }
  const TMetaFilePrinter* Recorder() const { return Recorder_.get(); }

  void ShowPage(int n);
  void UpdateNavButtons();
  void ScrollBox1Resize();

  // Toolbar.
  QWidget* ToolBarPanel = nullptr;
  QToolButton* PrintBut = nullptr;
  QToolButton* PrevPageBut = nullptr;
  QToolButton* NextPageBut = nullptr;
  QComboBox* ZoomBox = nullptr;
  QToolButton* FitPageBut = nullptr;
  QToolButton* FitWidthBut = nullptr;
  QToolButton* GridBut = nullptr;
  QComboBox* UnitsBox = nullptr;
  QToolButton* ZoomCursorBut = nullptr;
  QToolButton* HandCursorBut = nullptr;
  QToolButton* OnePageBut = nullptr;
  QToolButton* TwoPageBut = nullptr;
  QToolButton* CloseBut = nullptr;
  // Page area.
  QScrollArea* ScrollBox1 = nullptr;
  QWidget* ContainPanel = nullptr;
  QWidget* PagePanel = nullptr;
  QWidget* PagePanel2 = nullptr;
  TPageBox* PB1 = nullptr;
  TPageBox* PB2 = nullptr;
  // Status bar.
  QWidget* StatBarPanel = nullptr;
  QToolButton* FirstPageSpeed = nullptr;
  QToolButton* PrevPageSpeed = nullptr;
  QToolButton* NextPageSpeed = nullptr;
  QToolButton* LastPageSpeed = nullptr;
  QToolButton* PageNumSpeed = nullptr;
  QLabel* CurPageLabel = nullptr;
  QLabel* ZoomLabel = nullptr;
  QLabel* HintLabel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateToolBar();
  void CreatePageArea();
  void CreateStatusBar();
  void ConnectControls();
  void Record(bool& aborted);

  int PageCount() const { return Recorder_ ? Recorder_->PageCount() : 0; }
  platform::SheetMetrics Sheet() const;
  TPageArea Area() const;
  void ApplyLayout(const TPreviewLayout& layout);

  void NextPageButClick();
  void PrevPageButClick();
  void FirstPageSpeedClick();
  void LastPageSpeedClick();
  void PageNumSpeedClick();
  void Navigate(int page);
  void ZoomBoxChange();
  void SelectZoomItem(int item);
  void PBPaint(TPageBox& box, QPainter& painter);
  void PaintGrid(platform::Canvas& canvas, platform::Mapping mapping, const platform::SheetMetrics& sheet);
  void PB1MouseDown(QMouseEvent* event);
  void PB1MouseMove(QMouseEvent* event);
  void PB1MouseUp(QMouseEvent* event);
  void SetPageCursor(const QCursor& cursor);
  void PrintButClick();
  struct PrintingScope;
  void SetControlsEnabled(bool enabled);
  void AppHint(QWidget* under);

  htmlview::THtmlView& Viewer;
  std::unique_ptr<TMetaFilePrinter> Recorder_;
  int CurPage_ = 0;
  int PanStartX = 0;
  int PanStartY = 0;
  bool Panning = false;
  double Zoom_ = 0;
  bool printing_ = false;
  bool hintInstalled_ = false;
  int layoutRuns_ = 0;
  QCursor zoomCursor_;
  QCursor handCursor_;
};

}  // namespace talmeko::preview::ui
