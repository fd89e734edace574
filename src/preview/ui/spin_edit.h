#pragma once
// A numeric entry field with up and down buttons. Unlike Qt's own spin box it
// lets any number be typed, also one outside the bounds, and holds the value
// to the bounds only when stepping, when the value is set and when the field
// loses the focus; text that is not an integer counts as the lower bound.

#include <QAbstractSpinBox>

#include <optional>

namespace talmeko::preview::ui {

class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit TSpinEdit(QWidget* parent = nullptr);

  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  void SetMinValue(int value) { minValue_ = value; }
  void SetMaxValue(int value) { maxValue_ = value; }
  int Increment() const { return increment_; }
  void SetIncrement(int value) { increment_ = value; }

  // The text read as a decimal integer, held to the bounds.
  int Value() const;
  void SetValue(int value);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool Bounded() const { return minValue_ != maxValue_; }
  long long Clamped(long long value) const;
  // The text read as a decimal integer, or nothing when it is none.
  std::optional<long long> Typed() const;
  bool Accepts(const QString& typed) const;

  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
};

}  // namespace talmeko::preview::ui
