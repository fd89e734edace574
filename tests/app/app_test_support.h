#pragma once
// A main window logic over the fake window, with its settings in a fresh
// directory of its own.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "app/main_window_logic.h"
#include "fake_main_window.h"

namespace talmeko::app {

inline void FakeMainWindow::Enter(MainWindowLogic& logic, const std::string& number, int paletteIndex) {
  palette = paletteIndex;
  entry = number;
  logic.sEdit1KeyPress('\r');
}

inline const catalogue::Tables& ShippedTables() {
  static const catalogue::Tables tables = catalogue::LoadTables();
  return tables;
}

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("talmeko-app-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
    std::filesystem::remove_all(dir);
  }
  MainWindowLogic& Start() {
    logic = std::make_unique<MainWindowLogic>(
        window, MainWindowOptions{dir.string() + "/", [] { return ShippedTables(); }});
    logic->FormCreate();
    window.pages.clear();
    window.waitDuringLoads.clear();
    return *logic;
  }
  std::string File(const std::string& name) const { return (dir / name).string(); }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir;
  FakeMainWindow window;
  std::unique_ptr<MainWindowLogic> logic;
};

}  // namespace talmeko::app
