#pragma once
// Where the running program lives, for the files kept beside it.

#include <string>

namespace talmeko::platform {

// The directory of the running executable with its trailing "/", in the file
// system's own bytes; empty text when the system cannot tell, so that a file
// name joined to it names a file in the working directory.
std::string ExecutableDirectory();

}  // namespace talmeko::platform
