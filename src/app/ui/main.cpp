#include <QApplication>

#include "app/ui/main_window.h"
#include "platform/printer_spooler.h"
#include "platform/qt/qt_printer_spooler.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  talmeko::platform::qt::QtPrinterSpooler printer;
  talmeko::platform::SetCurrentPrinter(&printer);
  talmeko::platform::SetMessagePump([] { QCoreApplication::processEvents(); });
  talmeko::app::ui::TfMain window;
  window.show();
  const int result = QApplication::exec();
  talmeko::platform::SetCurrentPrinter(nullptr);
  return result;
}
