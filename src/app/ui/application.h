#pragma once
// The application object: Qt's own dialogs and menus in Russian whatever the
// machine's locale, and one place where an error that escapes an event
// handler is shown to the user instead of ending the program.

#include <QApplication>

namespace talmeko::app::ui {

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void ShowException(const char* message);

  bool showingException_ = false;
};

// Loads Qt's Russian catalogue into the application; false when it is not installed.
bool InstallRussianTranslations(QCoreApplication& application);

}  // namespace talmeko::app::ui
