#pragma once
// The view on screen: a scroll area without a frame whose events go to the
// view logic and whose paint requests are drawn off screen, one image per
// clip rectangle, through the Qt canvas.

#include <QAbstractScrollArea>
#include <QTimer>

#include <istream>
#include <memory>
#include <string>

#include "htmlview/layout/document_view.h"
#include "htmlview/layout/view_document.h"
#include "htmlview/style/view_defaults.h"
#include "htmlview/view/html_view.h"
#include "htmlview/view/view_controller.h"
#include "htmlview/view/view_host.h"

namespace talmeko::htmlview::ui {

class THtmlViewWidget : public QAbstractScrollArea, private TViewHost, private THtmlViewEvents {
  Q_OBJECT

 public:
  explicit THtmlViewWidget(QWidget* parent = nullptr, const ViewDefaults& defaults = {});
  ~THtmlViewWidget() override;

  // Loads a page: the engine decodes and parses it, then the view lays it
  // out, shows its top-left corner and repaints.
  void LoadFromStream(std::istream* stream, const std::string& name, TDocType type);
  // The engine with the published properties and the parsed document.
  THtmlView& Engine() { return *engine_; }
  // The laid-out page, or null before the first load.
  const THtmlDocumentView* DocumentView() const { return documentView_.get(); }

  // Shows another document instead of the engine's (tests of the view logic).
  // The document is not owned. Call DocumentLoaded after it has been (re)built.
  void SetDocument(TViewDocument* document);
  void DocumentLoaded();
  THtmlViewController& Controller() { return *controller_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void ScrollBarsChanged() override;
  void Invalidate() override;
  void ScrollImage(int dx, int dy) override;
  void SetTimerActive(bool active) override;
  void SetBusy(bool busy) override;
  void DocumentChanged() override;

  void RelayOut();
  void PressMouse(QMouseEvent* event, bool doubleClick);

  std::unique_ptr<platform::FontCatalogue> fonts_;
  std::unique_ptr<THtmlView> engine_;
  std::unique_ptr<THtmlDocumentView> documentView_;
  int busyDepth_ = 0;
  std::unique_ptr<THtmlViewController> controller_;
  QTimer tickTimer_;
  QSize laidOutSize_;
  bool syncingBars_ = false;
};

}  // namespace talmeko::htmlview::ui
