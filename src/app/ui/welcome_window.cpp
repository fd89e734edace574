#include "app/ui/welcome_window.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>

#include "app/ui/form_helpers.h"
#include "app/ui/web_label.h"
#include "app/website.h"

namespace talmeko::app::ui {
namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* utf8Caption, QRect geometry) {
  auto* button = new QPushButton(QString::fromUtf8(utf8Caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  // Neither button is the default: Enter presses whichever has the focus.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

TfWelcome::TfWelcome(platform::AddressOpener& opener)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TfWelcome"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  setPalette(colours);
  setAutoFillBackground(true);
  CreateControls(opener);
  connect(btnTalmeko, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfWelcome::CreateControls(platform::AddressOpener& opener) {
  Panel = new QFrame(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel->setGeometry(0, 0, kClientWidth, kClientHeight);

  const QString site = QString::fromStdString(WebsiteAddress());
  const QString hint = QString::fromUtf8("Перейти на сайт ") + site;
  const std::string root = WebsiteAddress() + "/";
  const TsWebLabel::Look bold{PixelFont(QStringLiteral("Arial"), 15, true, true), Qt::blue};
  const TsWebLabel::Look plain{PixelFont(QStringLiteral("Arial"), 15, false, true), Qt::blue};
  sWebLabel2 = new TsWebLabel(
      Panel, {"sWebLabel2", QString::fromUtf8("Добро пожаловать на сайт ") + site, hint, root, {43, 15, 303, 18}, bold, bold, true},
      opener);
  sWebLabel3 = new TsWebLabel(
      Panel, {"sWebLabel3", QString::fromUtf8("Будем рады увидеть ваши шедевры!"), hint, root, {67, 39, 254, 17}, plain, plain, true},
      opener);

  // Created first, so it comes first in the tab order.
  btnTalmeko = MakeButton(Panel, "btnTalmeko", "Перейти", {200, 72, 81, 25});
  btnClose = MakeButton(Panel, "btnClose", "Чуть позже :)", {104, 72, 83, 25});
  setTabOrder(btnTalmeko, btnClose);
}

void TfWelcome::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
  btnTalmeko->setFocus(Qt::TabFocusReason);
}

void TfWelcome::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape: event->accept(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
      event->accept();
      return;
    default: QDialog::keyPressEvent(event);
  }
}

}  // namespace talmeko::app::ui
