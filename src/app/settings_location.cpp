#include "app/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/executable_path.h"

namespace talmeko::app {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsName = "talmeko.ini";

bool AccessAllowsWriting(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

// HOME as the user set it, else the home directory of the account.
std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* account = ::getpwuid(::getuid());
  return account != nullptr && account->pw_dir != nullptr ? account->pw_dir : std::string();
}

std::string WorkingDirectory() {
  std::error_code error;
  const fs::path here = fs::current_path(error);
  return error ? std::string() : here.string();
}

}  // namespace

std::string ConfigDirectory(const char* xdgConfigHome, const std::string& home) {
  // A relative or empty XDG_CONFIG_HOME is to be ignored, as if it were unset.
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return std::string(xdgConfigHome) + "/talmeko";
  if (home.empty()) return {};
  return home + "/.config/talmeko";
}

std::string ChooseSettingsDirectory(const std::string& programDirectory, const std::string& configDirectory,
                                    const WritableCheck& writable) {
  const std::string beside = programDirectory + kSettingsName;
  if (configDirectory.empty() || writable(programDirectory) || writable(beside)) return programDirectory;
  // Failures are left to the first write, which fails silently like any
  // other write of the settings.
  std::error_code error;
  fs::create_directories(configDirectory, error);
  const std::string moved = configDirectory + "/" + kSettingsName;
  if (!fs::exists(moved, error) && fs::is_regular_file(beside, error) && fs::copy_file(beside, moved, error)) {
    // The copy keeps the modes of a file the user could not write; the
    // user's own copy must take the settings the user changes.
    fs::permissions(moved, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
  }
  return configDirectory + "/";
}

std::string SettingsDirectory() {
  return ChooseSettingsDirectory(platform::ExecutableDirectory(),
                                 ConfigDirectory(std::getenv("XDG_CONFIG_HOME"), HomeDirectory()),
                                 AccessAllowsWriting);
}

// A user who starts the program from a terminal in a folder of theirs expects
// the dialogs there, as every other program does. Started from the desktop
// menu, the working directory may be "/" or the program's own folder, where a
// colour set can never be saved, so the dialogs open in the home folder. This
// depends on the working directory, not on where the program is installed: a
// copy in a folder of the user's own started from the menu has the same need.
std::string DialogStartDirectory(const std::string& workingDirectory, const std::string& home,
                                 const WritableCheck& writable) {
  if (!workingDirectory.empty() && writable(workingDirectory)) return workingDirectory;
  return home.empty() ? workingDirectory : home;
}

std::string DialogStartDirectory() {
  return DialogStartDirectory(WorkingDirectory(), HomeDirectory(), AccessAllowsWriting);
}

}  // namespace talmeko::app
