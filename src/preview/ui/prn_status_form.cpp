#include "preview/ui/prn_status_form.h"

#include <QLabel>
#include <QPushButton>

#include <climits>


namespace talmeko::preview::ui {

TPrnStatusForm::TPrnStatusForm(QWidget* owner) : QDialog(owner) {
  setObjectName("PrnStatusForm");
  setWindowTitle("PrnStatusForm");
  setFont(QFont("MS Sans Serif", 8));
  setModal(false);
  resize(247, 96);
  move(731, 443);
  StatusLabel = new QLabel("Status", this);
  StatusLabel->setObjectName("StatusLabel");
  StatusLabel->setFont(QFont("Tahoma", 8));
  StatusLabel->setAlignment(Qt::AlignCenter);
  StatusLabel->setGeometry(13, 24, 222, 13);
  CancelButton = new QPushButton(QIcon(":/preview/cancel.png"), "Cancel", this);
  CancelButton->setObjectName("CancelButton");
  CancelButton->setGeometry(88, 56, 75, 25);
  CancelButton->setAutoDefault(false);
  connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

template <typename Run>
void TPrnStatusForm::RunWithEvents(htmlview::THtmlView& view, bool& aborted, Run run) {
  view.OnPageEvent = [this](void* sender, int numPage, bool& stop) { PageEvent(sender, numPage, stop); };
  // The view lets go of this dialog's handler however the run ends.
  struct HandlerScope {
    htmlview::THtmlView& view;
    ~HandlerScope() { view.OnPageEvent = nullptr; }
  } scope{view};
  show();
  run();
  hide();
  aborted = Canceled;
}

void TPrnStatusForm::DoPreview(htmlview::THtmlView& view, TMetaFilePrinter& recorder, bool& aborted) {
  Viewer = &view;
  Recorder = &recorder;
  RunWithEvents(view, aborted, [&] { view.RenderPreview(&recorder, false, 1, INT_MAX); });
}

void TPrnStatusForm::DoPrint(htmlview::THtmlView& view, int firstPage, int lastPage, bool& aborted) {
  Viewer = &view;
  FirstPage = firstPage;
  LastPage = lastPage;
  RunWithEvents(view, aborted, [&] { view.PrintPages(firstPage, lastPage); });
}

void TPrnStatusForm::PageEvent(void*, int numPage, bool& stopPrinting) {
  if (Canceled) {
    stopPrinting = true;
  } else if (numPage == 0) {
    StatusLabel->setText("Formating");
  } else {
    StatusLabel->setText("Page Number " + QString::number(numPage));
  }
  repaint();
}

void TPrnStatusForm::CancelButtonClick() { Canceled = true; }

}  // namespace talmeko::preview::ui
