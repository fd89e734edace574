#pragma once
// One QApplication for a whole test executable, made by the first test that needs it.

#include <QApplication>

namespace talmeko::testing {

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "talmeko_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: taking Qt down among the other static objects at exit
  // crashes once a modal dialog has run.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace talmeko::testing
