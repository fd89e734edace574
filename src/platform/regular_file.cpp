#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <system_error>

namespace talmeko::platform {
namespace {

// The number of links followed before a chain counts as a loop, as the
// system itself counts.
constexpr int kLinkHops = 40;

FileResult SystemFailure(int errorNumber, FileStage stage) {
  return FileResult::Failure(errorNumber, std::error_code(errorNumber, std::generic_category()).message(), stage);
}

// The refusal for a file of the wrong kind, or nothing for a regular file.
FileResult KindFailure(const struct stat& st, FileStage stage) {
  if (S_ISREG(st.st_mode)) return FileResult::Success();
  if (S_ISDIR(st.st_mode)) return FileResult::Failure(EISDIR, "the name belongs to a directory", stage);
  return FileResult::Failure(ENODEV, "the name belongs to a device, a FIFO or a socket, not a file", stage);
}

FileResult TooLarge() {
  return FileResult::Failure(EFBIG, "the file is larger than 16 MB", FileStage::reading);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, so a failure to close can be reported.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Reads until the end of the file or one byte past the largest size, so a
// file that grows while it is read is refused too.
FileResult ReadAll(int fd, std::size_t expected, std::string& bytes) {
  bytes.resize(std::min(expected, kLargestReadableFile) + 1);
  std::size_t have = 0;
  for (;;) {
    if (have == bytes.size()) {
      if (have > kLargestReadableFile) return TooLarge();
      bytes.resize(std::min(have * 2 + 4096, kLargestReadableFile + 1));
    }
    const ssize_t got = ::read(fd, bytes.data() + have, bytes.size() - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SystemFailure(errno, FileStage::reading);
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  if (have > kLargestReadableFile) return TooLarge();
  bytes.resize(have);
  return FileResult::Success();
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

int WritePieces(int fd, const std::vector<std::string_view>& pieces) {
  for (const std::string_view piece : pieces) {
    if (!WriteAll(fd, piece)) return errno;
  }
  return 0;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a chain of symbolic links ends at, which need not exist yet.
FileResult FollowLinks(const std::string& path, std::string& target) {
  target = path;
  for (int hop = 0; hop < kLinkHops; ++hop) {
    struct stat st{};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return FileResult::Success();
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
    if (length < 0) return SystemFailure(errno, FileStage::writing);
    link.resize(static_cast<std::size_t>(length));
    target = link.starts_with('/') ? link : DirectoryOf(target) + link;
  }
  return SystemFailure(ELOOP, FileStage::writing);
}

// Creates a temporary file of its own in the directory of the target, so the
// later rename never crosses file systems.
int CreateTemporary(const std::string& path, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  const std::string directory = DirectoryOf(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = directory + ".talmeko-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The replacement keeps the mode and, where the system allows it, the owner
// of the file it replaces.
FileResult ReplaceThroughTemporary(const std::string& path, const struct stat* existing,
                                   const std::vector<std::string_view>& pieces) {
  std::string temporary;
  Descriptor fd(CreateTemporary(path, temporary));
  if (fd.get() < 0) return SystemFailure(errno, FileStage::writing);
  if (existing != nullptr) {
    ::fchmod(fd.get(), existing->st_mode & 07777);
    if (existing->st_uid != ::geteuid() && ::fchown(fd.get(), existing->st_uid, existing->st_gid) != 0) {
      ::fchmod(fd.get(), existing->st_mode & 0777);
    }
  }
  int failure = WritePieces(fd.get(), pieces);
  if (failure == 0 && ::fsync(fd.get()) != 0) failure = errno;
  if (fd.Close() != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(temporary.c_str());
    return SystemFailure(failure, FileStage::writing);
  }
  return FileResult::Success();
}

// Writes over the existing bytes and then cuts the file to the new length.
// Unlike the replacement this cannot undo a failure half way, so it is kept
// for the files that cannot be replaced without losing something.
FileResult RewriteInPlace(const std::string& path, const std::vector<std::string_view>& pieces) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return SystemFailure(errno, FileStage::writing);
  struct stat st{};
  if (::fstat(fd.get(), &st) != 0) return SystemFailure(errno, FileStage::writing);
  if (FileResult kind = KindFailure(st, FileStage::writing); !kind) return kind;
  off_t length = 0;
  for (const std::string_view piece : pieces) length += static_cast<off_t>(piece.size());
  int failure = WritePieces(fd.get(), pieces);
  if (failure == 0 && ::ftruncate(fd.get(), length) != 0) failure = errno;
  if (failure == 0 && ::fsync(fd.get()) != 0) failure = errno;
  if (fd.Close() != 0 && failure == 0) failure = errno;
  return failure == 0 ? FileResult::Success() : SystemFailure(failure, FileStage::writing);
}

bool FolderTakesNewFiles(const std::string& path) {
  const std::string directory = DirectoryOf(path);
  return ::access(directory.empty() ? "." : directory.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

FileContents ReadRegularFile(const std::string& path) {
  FileContents contents;
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) {
    const int failure = errno;
    struct stat link{};
    if (failure == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      contents.result = FileResult::Failure(ENOENT, "the link points to a file that does not exist", FileStage::reading);
    } else if (failure != ENOENT) {
      contents.result = SystemFailure(failure, FileStage::reading);
    }
    return contents;
  }
  contents.exists = true;
  if (contents.result = KindFailure(st, FileStage::reading); !contents.result) return contents;
  if (static_cast<std::size_t>(st.st_size) > kLargestReadableFile) {
    contents.result = TooLarge();
    return contents;
  }
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    contents.result = SystemFailure(errno, FileStage::reading);
    return contents;
  }
  // The name may have been given to something else since it was looked at.
  if (::fstat(fd.get(), &st) != 0) {
    contents.result = SystemFailure(errno, FileStage::reading);
  } else if (contents.result = KindFailure(st, FileStage::reading); contents.result) {
    contents.result = ReadAll(fd.get(), static_cast<std::size_t>(st.st_size), contents.bytes);
  }
  if (!contents.result) contents.bytes = std::string();
  return contents;
}

FileResult WriteRegularFile(const std::string& path, const std::vector<std::string_view>& pieces) {
  std::string target;
  if (FileResult followed = FollowLinks(path, target); !followed) return followed;
  struct stat st{};
  if (::stat(target.c_str(), &st) != 0) {
    if (errno != ENOENT) return SystemFailure(errno, FileStage::writing);
    return ReplaceThroughTemporary(target, nullptr, pieces);
  }
  if (FileResult kind = KindFailure(st, FileStage::writing); !kind) return kind;
  // A file without any write permission is read-only for everyone, the
  // administrator included, as the read-only attribute is elsewhere.
  if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
    return FileResult::Failure(EACCES, "the file is read-only", FileStage::writing);
  }
  if (st.st_nlink > 1 || !FolderTakesNewFiles(target)) return RewriteInPlace(target, pieces);
  return ReplaceThroughTemporary(target, &st, pieces);
}

}  // namespace talmeko::platform
