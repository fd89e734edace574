#include <QApplication>

#include "app/ui/main_window.h"
#include "platform/printer_spooler.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The paginator lets waiting messages through between pages, so the
  // progress dialog's Cancel button works while pages are being made.
  talmeko::platform::SetMessagePump([] { QCoreApplication::processEvents(); });
  talmeko::app::ui::TfMain window;
  window.show();
  return QApplication::exec();
}
