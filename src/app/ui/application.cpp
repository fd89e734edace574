#include "app/ui/application.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

#include "platform/qt/qt_window_services.h"

namespace talmeko::app::ui {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) { InstallRussianTranslations(*this); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error.what());
  } catch (...) {
    ShowException("Unknown error");
  }
  return false;
}

// A paint that fails fails again when the box uncovers the view; one box at a
// time keeps the program from stacking them without end.
void TApplication::ShowException(const char* message) {
  if (showingException_) return;
  showingException_ = true;
  auto box = platform::qt::MakeMessageBox(activeWindow(), message);
  box->setIcon(QMessageBox::Critical);
  box->exec();
  showingException_ = false;
}

bool InstallRussianTranslations(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace talmeko::app::ui
