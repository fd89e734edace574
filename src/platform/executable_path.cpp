#include "platform/executable_path.h"

#include <unistd.h>

#include <vector>

namespace talmeko::platform {

std::string ExecutableDirectory() {
  // readlink does not say whether it had to cut the name, so the buffer grows
  // until the name fits with room to spare.
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      const std::string path(buffer.data(), static_cast<std::size_t>(length));
      const std::size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    if (buffer.size() >= (std::size_t{1} << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace talmeko::platform
