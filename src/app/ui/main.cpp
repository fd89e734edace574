#include <QApplication>

#include "app/ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  talmeko::app::ui::TfMain window;
  window.show();
  return QApplication::exec();
}
