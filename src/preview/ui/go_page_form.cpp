#include "preview/ui/go_page_form.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include "preview/ui/spin_edit.h"

namespace talmeko::preview::ui {
namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(x, 76, 77, 27);
  QFont regular("Tahoma", 8);
  regular.setBold(false);
  button->setFont(regular);
  return button;
}

}  // namespace

TGoPageForm::TGoPageForm(QWidget* owner) : QDialog(owner) {
  setObjectName("GoPageForm");
  setWindowTitle("Go to Page Number");
  QFont bold("Tahoma", 8);
  bold.setBold(true);
  setFont(bold);
  setFixedSize(231, 116);
  Bevel1 = new QFrame(this);
  Bevel1->setObjectName("Bevel1");
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(11, 8, 209, 57);
  PageNum = new TSpinEdit(this);
  PageNum->setObjectName("PageNum");
  PageNum->setGeometry(87, 27, 57, 22);
  PageNum->SetMinValue(1);
  PageNum->installEventFilter(this);
  OKBtn = MakeButton(this, "OKBtn", "OK", 35);
  OKBtn->setDefault(true);
  CancelBtn = MakeButton(this, "CancelBtn", "Cancel", 119);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
}

void TGoPageForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  PageNumEnter();
}

void TGoPageForm::PageNumEnter() {
  PageNum->setFocus();
  PageNum->selectAll();
}

// Enter in the field is taken here, so the field sees no Enter of its own
// and OK is pressed exactly once.
bool TGoPageForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PageNum && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      OKBtn->click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace talmeko::preview::ui
