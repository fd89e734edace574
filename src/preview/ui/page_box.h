#pragma once
// A paint box of the preview: a plain widget whose painting and mouse input
// are handled by the window that holds it.

#include <QWidget>

#include <functional>

namespace talmeko::preview::ui {

class TPageBox : public QWidget {
  Q_OBJECT

 public:
  using PaintHandler = std::function<void(TPageBox& box, QPainter& painter)>;
  using MouseHandler = std::function<void(QMouseEvent* event)>;

  explicit TPageBox(QWidget* parent) : QWidget(parent) {}

  PaintHandler OnPaint;
  MouseHandler OnMouseDown;
  MouseHandler OnMouseMove;
  MouseHandler OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override { Forward(OnMouseDown, event); }
  void mouseMoveEvent(QMouseEvent* event) override { Forward(OnMouseMove, event); }
  void mouseReleaseEvent(QMouseEvent* event) override { Forward(OnMouseUp, event); }

 private:
  static void Forward(const MouseHandler& handler, QMouseEvent* event) {
    if (handler) handler(event);
  }
};

}  // namespace talmeko::preview::ui
