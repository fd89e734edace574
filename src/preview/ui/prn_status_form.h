#pragma once
// The progress dialog shown while the view paginates, onto the page recorder
// for the preview or onto the system printer. It is not modal: the paginator
// lets the application handle its messages between pages, so Cancel is
// handled in the middle of the run and stops it at the next page.

#include <QDialog>

#include "preview/metafile_printer.h"
#include "htmlview/view/html_view.h"

class QLabel;
class QPushButton;

namespace talmeko::preview::ui {

class TPrnStatusForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPrnStatusForm(QWidget* owner);

  void DoPreview(htmlview::THtmlView& view, TMetaFilePrinter& recorder, bool& aborted);
  void DoPrint(htmlview::THtmlView& view, int firstPage, int lastPage, bool& aborted);
  void PageEvent(void* sender, int numPage, bool& stopPrinting);
  void CancelButtonClick();

  QLabel* StatusLabel = nullptr;
  QPushButton* CancelButton = nullptr;

 protected:
  // Esc presses Cancel; the dialog stays until the run has stopped.
  void reject() override { CancelButtonClick(); }

 private:
  template <typename Run>
  void RunWithEvents(htmlview::THtmlView& view, bool& aborted, Run run);

  htmlview::THtmlView* Viewer = nullptr;
  bool Canceled = false;
  TMetaFilePrinter* Recorder = nullptr;
  int FirstPage = 0;
  int LastPage = 0;
};

}  // namespace talmeko::preview::ui
