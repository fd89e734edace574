// The program as main() runs it, with two changes for the tests: Timer2
// ticks at once, and a line on standard input closes the main window as its
// user would, answering the exit prompt with "Чуть позже :)". The settings
// file goes to the directory given as the only argument.

#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>

#include "app/ui/main_window.h"
#include "app/ui/welcome_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  talmeko::app::MainWindowOptions options;
  options.settingsDirectory = argc > 1 ? std::string(argv[1]) + "/" : std::string();
  options.updateDelay = std::chrono::milliseconds(1);
  talmeko::app::ui::TfMain window(std::move(options));

  QSocketNotifier closeRequest(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&closeRequest, &QSocketNotifier::activated, &window, [&] {
    closeRequest.setEnabled(false);
    talmeko::app::ui::TfWelcome& prompt = window.Welcome();
    QTimer::singleShot(0, &prompt, [&prompt] { prompt.findChild<QPushButton*>(QStringLiteral("btnClose"))->click(); });
    window.close();
  });

  window.show();
  return QApplication::exec();
}
