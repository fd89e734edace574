#include "preview/ui/page_box.h"

#include <QPainter>

namespace talmeko::preview::ui {

void TPageBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (OnPaint) OnPaint(*this, painter);
}

}  // namespace talmeko::preview::ui
