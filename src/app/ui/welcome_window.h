#pragma once
// The exit prompt fWelcome: a small borderless window above all others that
// invites the user to the website. "Перейти" ends it with OK, "Чуть позже :)"
// and the system's close command with Cancel; Escape does nothing.

#include <QDialog>

#include "platform/address_opener.h"

class QFrame;
class QPushButton;

namespace talmeko::app::ui {

class TsWebLabel;

class TfWelcome : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 390;
  static constexpr int kClientHeight = 113;

  explicit TfWelcome(platform::AddressOpener& opener);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls(platform::AddressOpener& opener);

  QFrame* Panel = nullptr;
  TsWebLabel* sWebLabel2 = nullptr;
  TsWebLabel* sWebLabel3 = nullptr;
  QPushButton* btnTalmeko = nullptr;
  QPushButton* btnClose = nullptr;
};

}  // namespace talmeko::app::ui
