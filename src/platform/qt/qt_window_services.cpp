#include "platform/qt/qt_window_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "platform/qt/qt_text.h"

namespace talmeko::platform::qt {

QString ApplicationTitle(const QString& executablePath) {
  const QString name = QFileInfo(executablePath).completeBaseName();
  if (name.isEmpty()) return name;
  return name.left(1) + name.mid(1).toLower();
}

QString ApplicationTitle() { return ApplicationTitle(QCoreApplication::applicationFilePath()); }

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, std::string_view text) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setObjectName(QStringLiteral("MessageBox"));
  box->setWindowTitle(ApplicationTitle());
  box->setText(FromCp1251(text));
  box->setIcon(QMessageBox::NoIcon);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box->setDefaultButton(ok);
  box->setEscapeButton(ok);
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

void ShowMessage(QWidget* parent, std::string_view text) { MakeMessageBox(parent, text)->exec(); }

std::unique_ptr<QMessageBox> MakeConfirmation(QWidget* parent, std::string_view text) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setObjectName(QStringLiteral("Confirmation"));
  box->setWindowTitle(QStringLiteral("Confirm"));
  box->setText(FromCp1251(text));
  box->setIcon(QMessageBox::Question);
  QPushButton* yes = box->addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  yes->setObjectName(QStringLiteral("Yes"));
  no->setObjectName(QStringLiteral("No"));
  box->setDefaultButton(yes);
  box->setEscapeButton(no);
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

bool Confirm(QWidget* parent, std::string_view text) {
  auto box = MakeConfirmation(parent, text);
  box->exec();
  return box->clickedButton() == box->defaultButton();
}

bool OpenAddress(std::string_view url) {
  return QDesktopServices::openUrl(QUrl(FromCp1251(url)));
}

}  // namespace talmeko::platform::qt
