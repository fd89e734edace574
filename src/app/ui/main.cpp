#include "app/ui/application.h"
#include "app/ui/main_window.h"

int main(int argc, char* argv[]) {
  talmeko::app::ui::TApplication application(argc, argv);
  talmeko::app::ui::TfMain window;
  window.show();
  return QApplication::exec();
}
