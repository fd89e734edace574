#pragma once
// What the preview window's tests share: an A4 printer at 600 pixels per inch
// to record on, a view holding a table cut into a chosen number of pages, the
// Qt message pump the paginator runs between pages, and answering a modal
// dialog from inside its own event loop.

#include <QApplication>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "htmlview/ui/html_view_widget.h"
#include "preview/metafile_printer.h"
#include "support/a4_sheet.h"
#include "support/fake_printer_device.h"
#include "support/qt_application.h"

namespace talmeko::preview::ui::testing {

class A4Printer final : public talmeko::testing::FakePrinterDevice {
 public:
  A4Printer() { sheet = talmeko::testing::kA4At600Dpi; }
};

// Installs the pump the program installs, for the length of a test.
class QtPumpScope {
 public:
  QtPumpScope() { platform::SetMessagePump([] { QCoreApplication::processEvents(); }); }
  ~QtPumpScope() { platform::SetMessagePump(nullptr); }
  QtPumpScope(const QtPumpScope&) = delete;
  QtPumpScope& operator=(const QtPumpScope&) = delete;
};

inline std::string TableOfRows(int rows) {
  std::ostringstream page;
  page << "<html><body><table border=1>";
  for (int i = 1; i <= rows; ++i) page << "<tr><td>Row " << i << "</td><td>Text of row " << i << "</td></tr>";
  page << "</table></body></html>";
  return page.str();
}

inline void LoadRows(htmlview::ui::THtmlViewWidget& view, int rows) {
  std::istringstream stream(rows > 0 ? TableOfRows(rows) : std::string());
  view.LoadFromStream(&stream, "", htmlview::TDocType::HTMLType);
}

// Loads the fewest rows that the current printer prints on `pages` pages.
inline void LoadPages(htmlview::ui::THtmlViewWidget& view, int pages) {
  static std::map<int, int> rowsFor;
  auto known = rowsFor.find(pages);
  if (known != rowsFor.end()) {
    LoadRows(view, known->second);
    return;
  }
  for (int rows = pages > 0 ? 1 : 0;; rows += 2) {
    LoadRows(view, rows);
    TMetaFilePrinter recorder;
    view.Engine().RenderPreview(&recorder, false, 1, 2147483647);
    if (recorder.PageCount() == pages) {
      rowsFor[pages] = rows;
      return;
    }
    if (recorder.PageCount() > pages) throw std::logic_error("no row count gives that many pages");
  }
}

// Runs `answer` on the first modal window that shows up, from inside its
// event loop, so a test can answer a dialog that the code under test opens.
// With `which`, only on a modal window it accepts: a dialog opened over
// another modal window.
inline void AnswerModal(std::function<void(QWidget& modal)> answer,
                        std::function<bool(QWidget& modal)> which = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer, which] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || (which && !which(*modal))) return;
    timer->stop();
    timer->deleteLater();
    answer(*modal);
  });
  timer->start();
}

}  // namespace talmeko::preview::ui::testing
