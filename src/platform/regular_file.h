#pragma once
// Whole-file reading and writing for the settings file and colour set files.
// Only regular files are ever opened, so a FIFO or a device named by mistake
// or malice can neither block the program nor feed it endless bytes, and a
// save never leaves a file broken or a link replaced by a copy.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talmeko::platform {

// No colour list or settings file comes anywhere near this; a larger file is
// refused rather than read.
inline constexpr std::size_t kLargestReadableFile = std::size_t{16} << 20;

// Whether the failure happened while the existing file was read or while the
// new content was written, so the reason shown can be the real one.
enum class FileStage { reading, writing };

// The outcome of a file operation that may fail: the errno value and the
// system's text for it, or the reason the request itself was refused. Besides
// the system's own values: EISDIR for a directory, ENODEV for anything else
// that is no regular file (FIFO, device, socket), EFBIG for a file larger
// than kLargestReadableFile, and ENOENT while reading for a symbolic link
// whose target does not exist.
struct FileResult {
  bool ok = true;
  int error = 0;
  std::string reason;
  FileStage stage = FileStage::writing;

  explicit operator bool() const { return ok; }
  static FileResult Success() { return {}; }
  static FileResult Failure(int errorNumber, std::string why, FileStage during = FileStage::writing) {
    return {false, errorNumber, std::move(why), during};
  }
};

struct FileContents {
  FileResult result;
  bool exists = false;  // false when nothing at all has the name: no failure
  std::string bytes;
};

// Reads a whole regular file, following symbolic links. Its kind and size
// are checked before it is opened, and it is opened without blocking.
FileContents ReadRegularFile(const std::string& path);

// Writes the pieces, one after the other, as the whole new content of the
// file. A symbolic link is followed, so its target changes and the link stays.
// A file that does not exist yet, or that can be replaced, is written to a
// temporary file beside it and renamed over it, so a failure leaves the old
// content. A file with several names, or in a folder that cannot take a
// temporary file, is rewritten in place, so every name sees the new content.
// A file without any write permission is left alone and the write fails.
FileResult WriteRegularFile(const std::string& path, const std::vector<std::string_view>& pieces);

}  // namespace talmeko::platform
