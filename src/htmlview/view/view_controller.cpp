#include "htmlview/view/view_controller.h"

#include <algorithm>
#include <cstdlib>

namespace talmeko::htmlview {
namespace {

constexpr int kWheelDeltaPerNotch = 120;

// The view shows no document at all like an empty page: nothing to lay out.
class TNoDocument final : public TViewDocument {
 public:
  bool HasContent() const override { return false; }
  TLayoutResult LayOut(platform::Canvas&, int width, int) override { return {0, width}; }
  void Paint(platform::Canvas&, const TPaintContext&) override {}
  int CharPosAt(platform::Point) const override { return -1; }
  TSelection WordAt(int) const override { return {}; }
  std::u16string SelectedText(TSelection) const override { return {}; }
};

}  // namespace

THtmlViewController::THtmlViewController(TViewHost& host, const ViewDefaults& defaults,
                                         const platform::ScreenInfo& screen, TLayoutTally& tally)
    : host_(host), defaults_(defaults), screen_(screen), tally_(tally) {}

void THtmlViewController::SetNoSelect(bool noSelect) {
  defaults_.NoSelect = noSelect;
  if (!noSelect) return;
  const bool hadSelection = !selection_.Current().IsEmpty();
  selection_.Clear();
  if (hadSelection) host_.Invalidate();
  UpdateTimer();
}

void THtmlViewController::RunLayout(platform::Canvas& canvas) {
  TNoDocument none;
  TViewDocument& document = document_ ? *document_ : none;
  layout_ = TViewLayout(defaults_, screen_, tally_).Run(document, canvas, controlSize_);
}

void THtmlViewController::DocumentLoaded(platform::Canvas& canvas) {
  RunLayout(canvas);
  vPos_ = 0;
  hPos_ = 0;
  selection_.Clear();
  panning_.Stop();
  UpdateTimer();
  host_.ScrollBarsChanged();
  host_.Invalidate();
}

void THtmlViewController::Resize(platform::Canvas& canvas, platform::Size controlSize) {
  controlSize_ = controlSize;
  RunLayout(canvas);
  vPos_ = ClampVertical(vPos_);
  hPos_ = ClampHorizontal(hPos_);
  host_.ScrollBarsChanged();
  host_.Invalidate();
}

int THtmlViewController::MaxVerticalPosition() const {
  return std::max(0, layout_.document.documentHeight - layout_.drawingArea.height);
}

int THtmlViewController::MaxHorizontalPosition() const {
  const int extent = std::min(layout_.document.scrollWidth, kMaxHorizontalExtent);
  return std::max(0, extent - layout_.drawingArea.width);
}

int THtmlViewController::ClampVertical(int position) const {
  return std::clamp(position, 0, MaxVerticalPosition());
}

int THtmlViewController::ClampHorizontal(int position) const {
  return std::clamp(position, 0, MaxHorizontalPosition());
}

int THtmlViewController::MoveVertical(int position) {
  const int old = vPos_;
  vPos_ = ClampVertical(position);
  return vPos_ - old;
}

void THtmlViewController::RepaintAfterVerticalMove(int moved, bool scrollImage) {
  if (moved == 0) return;
  host_.ScrollBarsChanged();
  if (scrollImage) {
    host_.ScrollImage(0, -moved);
  } else {
    host_.Invalidate();
  }
}

void THtmlViewController::SetVerticalPosition(int position) {
  RepaintAfterVerticalMove(MoveVertical(position), true);
}

void THtmlViewController::SetHorizontalPosition(int position) {
  const int clamped = ClampHorizontal(position);
  if (clamped == hPos_) return;
  hPos_ = clamped;
  host_.ScrollBarsChanged();
  host_.Invalidate();
}

// Only a move by exactly one small change shifts the image; anything else,
// including a move cut short at either end, repaints the whole area.
bool THtmlViewController::ScrollVerticalByKey(int delta) {
  const int moved = MoveVertical(vPos_ + delta);
  RepaintAfterVerticalMove(moved, std::abs(moved) == kVerticalSmallChange);
  return true;
}

bool THtmlViewController::ScrollHorizontalByKey(int delta) {
  SetHorizontalPosition(hPos_ + delta);
  return true;
}

bool THtmlViewController::KeyDown(TViewKey key, TKeyModifiers modifiers) {
  const int large = std::max(kMinLargeChange, layout_.drawingArea.height - kVerticalSmallChange);
  switch (key) {
    case TViewKey::Up: return ScrollVerticalByKey(-kVerticalSmallChange);
    case TViewKey::Down: return ScrollVerticalByKey(kVerticalSmallChange);
    case TViewKey::PageUp: return ScrollVerticalByKey(-large);
    case TViewKey::PageDown: return ScrollVerticalByKey(large);
    case TViewKey::Space: return ScrollVerticalByKey(modifiers.shift ? -large : large);
    case TViewKey::Home:
      if (!modifiers.ctrl) return false;
      return ScrollVerticalByKey(-vPos_);
    case TViewKey::End:
      if (!modifiers.ctrl) return false;
      return ScrollVerticalByKey(MaxVerticalPosition() - vPos_);
    case TViewKey::Left: return ScrollHorizontalByKey(-kHorizontalSmallChange);
    case TViewKey::Right: return ScrollHorizontalByKey(kHorizontalSmallChange);
  }
  return false;
}

bool THtmlViewController::Wheel(int delta) {
  if (defaults_.HtOptions & htNoWheelMouse) return false;
  const int lines = screen_.wheelScrollLines;
  const int pixels = lines > 0 ? delta * kVerticalSmallChange * lines / kWheelDeltaPerNotch : delta / 2;
  RepaintAfterVerticalMove(MoveVertical(vPos_ - pixels), false);
  return true;
}

void THtmlViewController::MousePress(TMouseButton button, platform::Point point, TKeyModifiers modifiers,
                                     bool doubleClick) {
  pointer_ = point;
  if (panning_.Active()) {
    panning_.Stop();
    UpdateTimer();
    return;
  }
  if (button == TMouseButton::Middle && !(defaults_.HtOptions & htNoWheelMouse)) {
    panning_.Start(point);
    UpdateTimer();
    return;
  }
  if (button == TMouseButton::Left && !defaults_.NoSelect) PressLeft(point, modifiers, doubleClick);
}

void THtmlViewController::PressLeft(platform::Point point, TKeyModifiers modifiers, bool doubleClick) {
  const TSelection before = selection_.Current();
  const int position = CharPosAt(point);
  if (doubleClick) {
    if (document_ && position >= 0) selection_.SelectWord(document_->WordAt(position));
  } else {
    selection_.Press(position, modifiers.shift);
  }
  if (!(selection_.Current() == before)) host_.Invalidate();
  UpdateTimer();
}

void THtmlViewController::MouseMove(platform::Point point) {
  pointer_ = point;
  panning_.MoveTo(point);
  if (selection_.Dragging()) DragSelectionTo(point);
}

void THtmlViewController::MouseRelease(TMouseButton button, platform::Point point) {
  pointer_ = point;
  if (button != TMouseButton::Left || !selection_.Dragging()) return;
  DragSelectionTo(point);
  selection_.Release();
  UpdateTimer();
}

void THtmlViewController::DragSelectionTo(platform::Point point) {
  const TSelection before = selection_.Current();
  selection_.DragTo(CharPosAt(point));
  if (!(selection_.Current() == before)) host_.Invalidate();
}

void THtmlViewController::Tick() {
  if (panning_.Active()) {
    RepaintAfterVerticalMove(MoveVertical(vPos_ + panning_.Step()), false);
    return;
  }
  if (!selection_.Dragging()) return;
  const int step = TViewSelection::AutoScrollStep(pointer_.y, layout_.drawingArea.height, kVerticalSmallChange);
  if (step == 0) return;
  RepaintAfterVerticalMove(MoveVertical(vPos_ + step), false);
  DragSelectionTo(pointer_);
}

platform::Point THtmlViewController::ToDocument(platform::Point point) const {
  return {point.x + hPos_, point.y + vPos_};
}

int THtmlViewController::CharPosAt(platform::Point point) const {
  return document_ ? document_->CharPosAt(ToDocument(point)) : -1;
}

void THtmlViewController::UpdateTimer() {
  const bool wanted = panning_.Active() || selection_.Dragging();
  if (wanted == timerActive_) return;
  timerActive_ = wanted;
  host_.SetTimerActive(wanted);
}

void THtmlViewController::Paint(platform::Canvas& canvas, const platform::Rect& clip) {
  platform::CanvasStateGuard guard(canvas);
  const platform::Color background = platform::ResolveColor(defaults_.DefBackground, screen_);
  canvas.FillRect(clip, background);
  if (!document_ || !document_->HasContent()) return;
  canvas.IntersectClip(clip);
  TPaintContext context;
  // Across, the document is drawn as if 6000 pixels were visible, and of
  // that only the part the clip shows.
  context.clip = {std::max(0, clip.left), clip.top, std::min(kMaxHorizontalExtent, clip.right), clip.bottom};
  context.xOffset = -hPos_;
  context.yTop = vPos_;
  context.selection = selection_.Current();
  context.background = background;
  context.screen = screen_;
  document_->Paint(canvas, context);
}

}  // namespace talmeko::htmlview
