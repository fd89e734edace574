#include "preview/ui/spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QProxyStyle>

#include <algorithm>

namespace talmeko::preview::ui {
namespace {

// Holding a button down repeats its step after 400 ms, then every 100 ms.
class SpinRepeatStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_SpinBox_ClickAutoRepeatThreshold) return 400;
    if (hint == SH_SpinBox_ClickAutoRepeatRate) return 100;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  auto* style = new SpinRepeatStyle;
  style->setParent(this);
  setStyle(style);
  setAccelerated(false);
  lineEdit()->setText("0");
}

long long TSpinEdit::Clamped(long long value) const {
  if (!Bounded()) return value;
  return std::clamp<long long>(value, minValue_, maxValue_);
}

std::optional<long long> TSpinEdit::Typed() const {
  bool ok = false;
  const long long typed = text().trimmed().toLongLong(&ok, 10);
  return ok ? std::optional(typed) : std::nullopt;
}

int TSpinEdit::Value() const {
  const std::optional<long long> typed = Typed();
  if (!typed) return minValue_;
  return static_cast<int>(std::clamp<long long>(Clamped(*typed), INT_MIN, INT_MAX));
}

void TSpinEdit::SetValue(int value) { lineEdit()->setText(QString::number(Clamped(value))); }

void TSpinEdit::stepBy(int steps) {
  if (isReadOnly()) {
    QApplication::beep();
    return;
  }
  SetValue(static_cast<int>(Clamped(static_cast<long long>(Value()) + static_cast<long long>(steps) * increment_)));
  selectAll();
}

QValidator::State TSpinEdit::validate(QString&, int&) const { return QValidator::Acceptable; }

bool TSpinEdit::Accepts(const QString& typed) const {
  for (const QChar c : typed) {
    const bool control = c.category() == QChar::Other_Control && c != '\r' && c != '\n';
    if (!(c.isDigit() || c == '+' || c == '-' || control || QLocale().decimalPoint().contains(c))) return false;
  }
  return true;
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
  if (!event->text().isEmpty() && !Accepts(event->text())) {
    QApplication::beep();
    event->accept();
    return;
  }
  QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusInEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusInEvent(event);
  selectAll();
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
  if (const std::optional<long long> typed = Typed(); typed && Clamped(*typed) != *typed) {
    SetValue(static_cast<int>(Clamped(*typed)));
  }
  QAbstractSpinBox::focusOutEvent(event);
}

}  // namespace talmeko::preview::ui
