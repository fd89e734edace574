#pragma once
// One QApplication for a benchmark program, on Qt's offscreen platform unless
// another one is chosen.

#include <QApplication>

#include <cstdlib>

namespace talmeko::bench {

inline QApplication& OffscreenApplication() {
  static int argc = 1;
  static char name[] = "talmeko_bench";
  static char* argv[] = {name, nullptr};
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace talmeko::bench
