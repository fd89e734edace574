#include "app/settings_location.h"

#include <filesystem>
#include <set>

#include "app_test_support.h"

namespace talmeko::app {
namespace {

using SettingsLocation = AppTest;

constexpr const char* kDefaults = "[palette]\r\ngamma=1\r\nanchor=0\r\nmadeira=0\r\nkirov=0\r\n";

// Writability is stated, not taken from the file modes: the tests also run as
// a superuser, who may write to read-only folders.
WritableCheck WritableOnly(std::set<std::string> paths) {
  return [paths = std::move(paths)](const std::string& path) { return paths.count(path) > 0; };
}

TEST_F(SettingsLocation, ConfigFolderFollowsXdgConfigHomeOrHome) {
  const struct {
    const char* xdg;
    std::string home;
    std::string expected;
  } cases[] = {
      {"/x/conf", "/home/u", "/x/conf/talmeko"},
      {nullptr, "/home/u", "/home/u/.config/talmeko"},
      {"", "/home/u", "/home/u/.config/talmeko"},
      {"relative/conf", "/home/u", "/home/u/.config/talmeko"},
      {nullptr, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ConfigDirectory(c.xdg, c.home), c.expected) << (c.xdg ? c.xdg : "unset");
}

TEST_F(SettingsLocation, FileStaysBesideTheProgramUnlessNothingThereCanBeWritten) {
  const struct {
    const char* name;
    bool folderWritable;
    const char* beside;  // talmeko.ini beside the program, or none
    bool besideWritable;
    const char* configured;  // talmeko.ini already in the configuration folder, or none
    bool expectConfig;
    const char* configAfter;  // what the configuration folder then holds, or none
  } cases[] = {
      {"writable folder", true, nullptr, false, nullptr, false, nullptr},
      {"writable folder, read-only file", true, "[palette]\r\ngamma=0\r\n", false, nullptr, false, nullptr},
      {"read-only folder, writable file", false, "[palette]\r\ngamma=0\r\n", true, nullptr, false, nullptr},
      {"read-only folder, no file", false, nullptr, false, nullptr, true, nullptr},
      {"read-only file carried over", false, "[palette]\r\nkirov=1\r\n", false, nullptr, true,
       "[palette]\r\nkirov=1\r\n"},
      {"settings already moved", false, "[palette]\r\nkirov=1\r\n", false, "[palette]\r\nanchor=1\r\n", true,
       "[palette]\r\nanchor=1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "bin");
    const std::string program = File("bin") + "/";
    const std::string config = File("conf/talmeko");
    if (c.beside) {
      Put("bin/talmeko.ini", c.beside);
      if (!c.besideWritable) std::filesystem::permissions(dir / "bin/talmeko.ini", std::filesystem::perms::owner_read);
    }
    if (c.configured) {
      std::filesystem::create_directories(config);
      Put("conf/talmeko/talmeko.ini", c.configured);
    }
    std::set<std::string> writable;
    if (c.folderWritable) writable.insert(program);
    if (c.besideWritable) writable.insert(program + "talmeko.ini");

    const std::string chosen = ChooseSettingsDirectory(program, config, WritableOnly(writable));
    EXPECT_EQ(chosen, c.expectConfig ? config + "/" : program);
    EXPECT_EQ(std::filesystem::is_directory(config), c.expectConfig || c.configured);
    EXPECT_EQ(Get("conf/talmeko/talmeko.ini"), c.configAfter ? c.configAfter : "");
    if (c.configAfter) {
      const auto modes = std::filesystem::status(config + "/talmeko.ini").permissions();
      EXPECT_NE(modes & std::filesystem::perms::owner_write, std::filesystem::perms::none);
    }
    EXPECT_EQ(Get("bin/talmeko.ini"), c.beside ? c.beside : "");
  }
}

TEST_F(SettingsLocation, NoKnownConfigFolderKeepsTheProgramFolder) {
  EXPECT_EQ(ChooseSettingsDirectory(File("bin/"), "", WritableOnly({})), File("bin/"));
}

// The settings in the configuration folder follow every rule of the file
// beside the program: the same first-start content, and every click saved.
TEST_F(SettingsLocation, MovedSettingsAreWrittenAndReadInTheConfigFolder) {
  std::filesystem::create_directories(dir / "bin");
  const auto start = [&] {
    const std::string chosen = ChooseSettingsDirectory(File("bin") + "/", File("conf/talmeko"), WritableOnly({}));
    window = FakeMainWindow();
    logic = std::make_unique<MainWindowLogic>(window, MainWindowOptions{chosen, [] { return ShippedTables(); }});
    logic->FormCreate();
  };
  start();
  EXPECT_EQ(Get("conf/talmeko/talmeko.ini"), kDefaults);
  window.checked[CheckBox::cbMadeira] = true;
  logic->cbMadeiraClick();
  EXPECT_EQ(Get("conf/talmeko/talmeko.ini"), "[palette]\r\ngamma=1\r\nanchor=0\r\nmadeira=1\r\nkirov=0\r\n");

  start();
  EXPECT_TRUE(window.checked[CheckBox::cbMadeira]);
  EXPECT_FALSE(std::filesystem::exists(dir / "bin/talmeko.ini"));
}

TEST_F(SettingsLocation, DialogsOpenInTheWorkingDirectoryOnlyWhereItCanBeWritten) {
  EXPECT_EQ(DialogStartDirectory("/home/u/patterns", "/home/u", WritableOnly({"/home/u/patterns"})),
            "/home/u/patterns");
  EXPECT_EQ(DialogStartDirectory("/usr/bin", "/home/u", WritableOnly({"/home/u"})), "/home/u");
  EXPECT_EQ(DialogStartDirectory("", "/home/u", WritableOnly({})), "/home/u");
}

}  // namespace
}  // namespace talmeko::app
