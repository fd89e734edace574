#pragma once
// Where the program keeps what belongs to its user: the settings file, and the
// folder the colour set dialogs open in.

#include <functional>
#include <string>

namespace talmeko::app {

// Tells whether the user may write to a file or directory; tests give their
// own answer, since a superuser may write everywhere.
using WritableCheck = std::function<bool(const std::string& path)>;

// The user's configuration folder for this program, without a trailing "/":
// an absolute XDG_CONFIG_HOME followed by "/talmeko", else "<home>/.config/talmeko";
// empty when neither names a place.
std::string ConfigDirectory(const char* xdgConfigHome, const std::string& home);

// The directory, with its trailing "/", whose talmeko.ini holds the settings.
// A program folder the user can write, or a writable talmeko.ini in it, keeps
// the file beside the program. Otherwise the configuration folder is created;
// when it has no settings yet, a talmeko.ini beside the program is copied
// there, so that a file carried over from another machine is still honoured.
std::string ChooseSettingsDirectory(const std::string& programDirectory, const std::string& configDirectory,
                                    const WritableCheck& writable);

// The same choice for the running program and its user.
std::string SettingsDirectory();

// The folder the colour set dialogs open in: the working directory where the
// user can write, else the home folder (see the definition for why).
std::string DialogStartDirectory(const std::string& workingDirectory, const std::string& home,
                                 const WritableCheck& writable);
std::string DialogStartDirectory();

}  // namespace talmeko::app
