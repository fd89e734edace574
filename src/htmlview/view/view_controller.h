#pragma once
// The view's behaviour between the widget and the laid-out document: layout
// on load and resize, the scroll bars, scrolling by keys, wheel and panning,
// the selection, and painting a clip rectangle. Standard C++ only; the widget
// forwards its events here and does what the host interface asks.

#include "htmlview/layout/view_document.h"
#include "htmlview/style/view_defaults.h"
#include "htmlview/view/view_host.h"
#include "htmlview/view/view_layout.h"
#include "htmlview/view/view_layout_tally.h"
#include "htmlview/view/view_panning.h"
#include "htmlview/view/view_selection.h"
#include "platform/canvas.h"
#include "platform/font_catalogue.h"

namespace talmeko::htmlview {

enum class TViewKey { Up, Down, PageUp, PageDown, Space, Home, End, Left, Right };
enum class TMouseButton { Left, Middle, Right };

struct TKeyModifiers {
  bool shift = false;
  bool ctrl = false;
};

class THtmlViewController {
 public:
  THtmlViewController(TViewHost& host, const ViewDefaults& defaults, const platform::ScreenInfo& screen,
                      TLayoutTally& tally = TLayoutTally::Process());

  // The document is not owned; null shows an empty view.
  void SetDocument(TViewDocument* document) { document_ = document; }
  void SetScreenInfo(const platform::ScreenInfo& screen) { screen_ = screen; }
  const ViewDefaults& Defaults() const { return defaults_; }
  void SetNoSelect(bool noSelect);

  // The last steps of loading a page: lay out, set the bars, show the top, repaint.
  void DocumentLoaded(platform::Canvas& canvas);
  // The same when the control may have changed its size since the last
  // layout: one layout serves both.
  void DocumentLoaded(platform::Canvas& canvas, platform::Size controlSize) {
    controlSize_ = controlSize;
    DocumentLoaded(canvas);
  }
  // The control's size changed; the vertical position stays where it can.
  void Resize(platform::Canvas& canvas, platform::Size controlSize);

  const TViewLayoutResult& Layout() const { return layout_; }
  platform::Size DrawingArea() const { return layout_.drawingArea; }
  int VerticalPosition() const { return vPos_; }
  int HorizontalPosition() const { return hPos_; }
  int MaxVerticalPosition() const;
  int MaxHorizontalPosition() const;
  const TSelection& Selection() const { return selection_.Current(); }
  std::u16string SelectedText() const { return document_ ? document_->SelectedText(selection_.Current()) : u""; }
  bool Panning() const { return panning_.Active(); }

  // Positions set through the scroll bars.
  void SetVerticalPosition(int position);
  void SetHorizontalPosition(int position);

  bool KeyDown(TViewKey key, TKeyModifiers modifiers);
  // Delta in eighths of a degree, 120 per notch; positive turns towards the top.
  bool Wheel(int delta);
  void MousePress(TMouseButton button, platform::Point point, TKeyModifiers modifiers, bool doubleClick);
  void MouseMove(platform::Point point);
  void MouseRelease(TMouseButton button, platform::Point point);
  // Called by the widget every 100 milliseconds while the host's timer is active.
  void Tick();

  void Paint(platform::Canvas& canvas, const platform::Rect& clip);

 private:
  void RunLayout(platform::Canvas& canvas);
  int ClampVertical(int position) const;
  int ClampHorizontal(int position) const;
  // Moves and returns how far the position actually moved.
  int MoveVertical(int position);
  void RepaintAfterVerticalMove(int moved, bool scrollImage);
  bool ScrollVerticalByKey(int delta);
  bool ScrollHorizontalByKey(int delta);
  platform::Point ToDocument(platform::Point point) const;
  int CharPosAt(platform::Point point) const;
  void PressLeft(platform::Point point, TKeyModifiers modifiers, bool doubleClick);
  void DragSelectionTo(platform::Point point);
  void UpdateTimer();

  TViewHost& host_;
  ViewDefaults defaults_;
  platform::ScreenInfo screen_;
  TLayoutTally& tally_;
  TViewDocument* document_ = nullptr;
  platform::Size controlSize_;
  TViewLayoutResult layout_;
  int vPos_ = 0;
  int hPos_ = 0;
  platform::Point pointer_;
  TViewPanning panning_;
  TViewSelection selection_;
  bool timerActive_ = false;
};

}  // namespace talmeko::htmlview
