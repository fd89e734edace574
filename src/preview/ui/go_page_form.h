#pragma once
// The page-number dialog: the user types or steps to a page number.

#include <QDialog>

class QFrame;
class QPushButton;

namespace talmeko::preview::ui {

class TSpinEdit;

class TGoPageForm : public QDialog {
  Q_OBJECT

 public:
  explicit TGoPageForm(QWidget* owner);

  QFrame* Bevel1 = nullptr;
  TSpinEdit* PageNum = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PageNumEnter();
};

}  // namespace talmeko::preview::ui
