#include "app/ui/web_label.h"

#include <QFontMetrics>
#include <QMouseEvent>

#include <algorithm>

namespace talmeko::app::ui {

TsWebLabel::TsWebLabel(QWidget* parent, const Settings& settings, platform::AddressOpener& opener)
    : QLabel(settings.caption, parent),
      address_(settings.address),
      normal_(settings.normal),
      hover_(settings.hover),
      opener_(opener),
      layout_(settings.geometry),
      centred_(settings.centred) {
  setObjectName(QString::fromLatin1(settings.name));
  setGeometry(settings.geometry);
  setToolTip(settings.hint);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  Apply(normal_);
}

void TsWebLabel::enterEvent(QEnterEvent* event) {
  Apply(hover_);
  QLabel::enterEvent(event);
}

void TsWebLabel::leaveEvent(QEvent* event) {
  Apply(normal_);
  QLabel::leaveEvent(event);
}

// The press, not the release, opens the address, and nothing else happens.
void TsWebLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !address_.empty()) {
    opener_.ShellExecuteA("open", address_, platform::ShowState::SW_SHOWDEFAULT);
  }
  event->accept();
}

// The label is as wide as its layout says, or as its caption needs in the
// current look, like a label that sizes itself: the website's address is
// ours, and the layout was made for a caption of another length.
void TsWebLabel::Apply(const Look& look) {
  setFont(look.font);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, look.colour);
  setPalette(colours);
  const int width = std::max(layout_.width(), QFontMetrics(look.font).horizontalAdvance(text()));
  const int left = centred_ ? layout_.left() - (width - layout_.width()) / 2 : layout_.left();
  setGeometry(left, layout_.top(), width, layout_.height());
}

}  // namespace talmeko::app::ui
