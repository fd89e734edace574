#pragma once
// A main window over the shipped catalogue, with its settings in a fresh
// directory, its dialogs answered by the test and its addresses recorded.

#include <unistd.h>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/main_window.h"
#include "catalogue/tables.h"
#include "fake_address_opener.h"
#include "support/qt_application.h"

namespace talmeko::app::ui {

inline const catalogue::Tables& ShippedTables() {
  static const catalogue::Tables tables = catalogue::LoadTables();
  return tables;
}

inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    dir = std::filesystem::temp_directory_path() /
          ("talmeko-ui-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    window.reset();
    std::filesystem::remove_all(dir);
  }

  TfMain& Start() {
    window = std::make_unique<TfMain>(MainWindowOptions{
        dir.string() + "/", [] { return ShippedTables(); }, opener, updateAddress, {}, updateDelay});
    window->SetMessageHook([this](std::string_view text) { messages.emplace_back(text); });
    window->SetConfirmHook([this](std::string_view text) {
      confirmations.emplace_back(text);
      return confirmAnswer;
    });
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }

  template <typename T>
  T* Child(const char* name) const {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  void Enter(const QString& number, int palette = 0) {
    auto* chooser = Child<QComboBox>("ComboBox1");
    if (chooser->currentIndex() != palette) chooser->setCurrentIndex(palette);
    auto* entry = Child<QLineEdit>("sEdit1");
    QTest::keyClicks(entry, number);
    QTest::keyClick(entry, Qt::Key_Return);
  }

  std::vector<QString> Items() const {
    std::vector<QString> items;
    auto* list = Child<QListWidget>("clbMoulineID");
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text());
    return items;
  }

  std::string Settings() const {
    std::ifstream in(dir / "talmeko.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Where grabs of the windows are saved, for a look at them.
  static QString OutputPath(const char* fileName) {
    return QStringLiteral(TALMEKO_TEST_OUTPUT "/") + QString::fromLatin1(fileName);
  }

  std::filesystem::path dir;
  std::shared_ptr<FakeAddressOpener> opener = std::make_shared<FakeAddressOpener>();
  std::string updateAddress = "http://127.0.0.1:9/talmeko.update";
  std::chrono::milliseconds updateDelay{15000};
  std::unique_ptr<TfMain> window;
  std::vector<std::string> messages;
  std::vector<std::string> confirmations;
  bool confirmAnswer = false;
};

}  // namespace talmeko::app::ui
