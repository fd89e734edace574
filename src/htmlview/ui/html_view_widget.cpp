#include "htmlview/ui/html_view_widget.h"

#include <QGuiApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "htmlview/base/exceptions.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_font_catalogue.h"
#include "platform/qt/qt_screen_info.h"
#include "platform/qt/qt_text.h"

namespace talmeko::htmlview::ui {
namespace {

bool ToViewKey(int qtKey, TViewKey& key) {
  switch (qtKey) {
    case Qt::Key_Up: key = TViewKey::Up; return true;
    case Qt::Key_Down: key = TViewKey::Down; return true;
    case Qt::Key_PageUp: key = TViewKey::PageUp; return true;
    case Qt::Key_PageDown: key = TViewKey::PageDown; return true;
    case Qt::Key_Space: key = TViewKey::Space; return true;
    case Qt::Key_Home: key = TViewKey::Home; return true;
    case Qt::Key_End: key = TViewKey::End; return true;
    case Qt::Key_Left: key = TViewKey::Left; return true;
    case Qt::Key_Right: key = TViewKey::Right; return true;
    default: return false;
  }
}

TKeyModifiers ToModifiers(Qt::KeyboardModifiers m) {
  return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier)};
}

platform::Point ToPoint(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

void ApplyBar(QScrollBar* bar, QAbstractScrollArea* area, bool vertical, const TScrollBarState& state, int maximum,
              int value) {
  const Qt::ScrollBarPolicy policy = state.visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (vertical) {
    area->setVerticalScrollBarPolicy(policy);
  } else {
    area->setHorizontalScrollBarPolicy(policy);
  }
  bar->setEnabled(state.enabled);
  bar->setRange(0, maximum);
  bar->setPageStep(state.page > 0 ? state.page : 1);
  bar->setSingleStep(state.smallChange > 0 ? state.smallChange : 1);
  bar->setValue(value);
}

}  // namespace

THtmlViewWidget::THtmlViewWidget(QWidget* parent, const ViewDefaults& defaults) : QAbstractScrollArea(parent) {
  setObjectName(QStringLiteral("HTMLView"));
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  fonts_ = std::make_unique<platform::qt::QtFontCatalogue>();
  engine_ = std::make_unique<THtmlView>(*fonts_, platform::qt::CurrentScreenInfo(this));
  engine_->Defaults() = defaults;
  engine_->SetEvents(this);
  controller_ = std::make_unique<THtmlViewController>(static_cast<TViewHost&>(*this), defaults,
                                                      platform::qt::CurrentScreenInfo(this));
  tickTimer_.setInterval(kTickMilliseconds);
  connect(&tickTimer_, &QTimer::timeout, this, [this] { controller_->Tick(); });
}

THtmlViewWidget::~THtmlViewWidget() {
  engine_->SetEvents(nullptr);
  controller_->SetDocument(nullptr);
}

void THtmlViewWidget::LoadFromStream(std::istream* stream, const std::string& name, TDocType type) {
  engine_->LoadFromStream(stream, name, type);
}

// The old layout refers to the document the engine is about to release, so it
// goes first; should the load fail half-way, the view stays empty.
void THtmlViewWidget::SetBusy(bool busy) {
  if (busy) {
    if (busyDepth_++ == 0) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    controller_->SetDocument(nullptr);
    documentView_.reset();
  } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
    QGuiApplication::restoreOverrideCursor();
  }
}

void THtmlViewWidget::DocumentChanged() {
  documentView_ = std::make_unique<THtmlDocumentView>(engine_->Document(), platform::qt::CurrentScreenInfo(this));
  controller_->SetDocument(documentView_.get());
  DocumentLoaded();
}

void THtmlViewWidget::SetDocument(TViewDocument* document) { controller_->SetDocument(document); }

// Layout measures on a small image of the screen's resolution, since a
// painter may not be opened on the widget outside a paint request.
void THtmlViewWidget::DocumentLoaded() {
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  platform::qt::QtCanvas canvas(painter, platform::qt::CurrentScreenInfo(this));
  laidOutSize_ = size();
  controller_->DocumentLoaded(canvas, {width(), height()});
}

void THtmlViewWidget::RelayOut() {
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  platform::qt::QtCanvas canvas(painter, platform::qt::CurrentScreenInfo(this));
  laidOutSize_ = size();
  controller_->Resize(canvas, {width(), height()});
}

// Showing or hiding a bar resizes only the viewport; the layout depends on the
// size of the whole control, so only a change of that lays out again.
void THtmlViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (size() != laidOutSize_) RelayOut();
}

void THtmlViewWidget::paintEvent(QPaintEvent* event) {
  const QRect clip = event->rect();
  if (clip.isEmpty()) return;
  QImage buffer(clip.size(), QImage::Format_RGB32);
  if (buffer.isNull()) throw Exception("Out of Resources");
  {
    QPainter painter(&buffer);
    painter.translate(-clip.topLeft());
    platform::qt::QtCanvas canvas(painter, platform::qt::CurrentScreenInfo(this));
    controller_->Paint(canvas, {clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1});
  }
  QPainter screen(viewport());
  screen.drawImage(clip.topLeft(), buffer);
}

void THtmlViewWidget::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    const std::u16string text = controller_->SelectedText();
    if (!text.empty()) QGuiApplication::clipboard()->setText(platform::qt::FromUtf16(text));
    event->accept();
    return;
  }
  TViewKey key{};
  if (ToViewKey(event->key(), key) && controller_->KeyDown(key, ToModifiers(event->modifiers()))) {
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void THtmlViewWidget::wheelEvent(QWheelEvent* event) {
  if (controller_->Wheel(event->angleDelta().y())) {
    event->accept();
  } else {
    event->ignore();
  }
}

void THtmlViewWidget::PressMouse(QMouseEvent* event, bool doubleClick) {
  TMouseButton button = TMouseButton::Right;
  if (event->button() == Qt::LeftButton) button = TMouseButton::Left;
  if (event->button() == Qt::MiddleButton) button = TMouseButton::Middle;
  controller_->MousePress(button, ToPoint(event), ToModifiers(event->modifiers()), doubleClick);
  event->accept();
}

void THtmlViewWidget::mousePressEvent(QMouseEvent* event) { PressMouse(event, false); }

void THtmlViewWidget::mouseDoubleClickEvent(QMouseEvent* event) { PressMouse(event, true); }

void THtmlViewWidget::mouseMoveEvent(QMouseEvent* event) {
  controller_->MouseMove(ToPoint(event));
  event->accept();
}

void THtmlViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  const TMouseButton button = event->button() == Qt::LeftButton ? TMouseButton::Left
                              : event->button() == Qt::MiddleButton ? TMouseButton::Middle
                                                                    : TMouseButton::Right;
  controller_->MouseRelease(button, ToPoint(event));
  event->accept();
}

void THtmlViewWidget::scrollContentsBy(int, int) {
  if (syncingBars_) return;
  controller_->SetVerticalPosition(verticalScrollBar()->value());
  controller_->SetHorizontalPosition(horizontalScrollBar()->value());
}

void THtmlViewWidget::ScrollBarsChanged() {
  syncingBars_ = true;
  const TViewLayoutResult& layout = controller_->Layout();
  ApplyBar(verticalScrollBar(), this, true, layout.vertical, controller_->MaxVerticalPosition(),
           controller_->VerticalPosition());
  ApplyBar(horizontalScrollBar(), this, false, layout.horizontal, controller_->MaxHorizontalPosition(),
           controller_->HorizontalPosition());
  syncingBars_ = false;
}

void THtmlViewWidget::Invalidate() { viewport()->update(); }

void THtmlViewWidget::ScrollImage(int dx, int dy) { viewport()->scroll(dx, dy); }

void THtmlViewWidget::SetTimerActive(bool active) {
  if (active) {
    tickTimer_.start();
  } else {
    tickTimer_.stop();
  }
}

}  // namespace talmeko::htmlview::ui
