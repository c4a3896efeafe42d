#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace common {

namespace {
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

bool isRegularFd(int fd, std::uint64_t& size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size = static_cast<std::uint64_t>(st.st_size);
  return true;
}

// Opening never waits: a named pipe without a writer or a device would block
// a plain open, and such a file is refused right after it anyway.
int openForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}
}  // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::uint64_t maxBytes) {
  Fd f{openForReading(path)};
  if (f.fd < 0) return std::nullopt;
  std::uint64_t size = 0;
  if (!isRegularFd(f.fd, size)) return std::nullopt;
  if (size > maxBytes) size = maxBytes;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t got = ::read(f.fd, bytes.data() + done, bytes.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) break;  // the file shrank while reading
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

std::optional<std::uint64_t> regularFileSize(const std::string& path) {
  Fd f{openForReading(path)};
  if (f.fd < 0) return std::nullopt;
  std::uint64_t size = 0;
  if (!isRegularFd(f.fd, size)) return std::nullopt;
  return size;
}

namespace {
// The file a path names once its symbolic links are followed; a dangling
// link names the file it would create. Gives up after 40 links, as the
// system does.
std::optional<std::string> linkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p(path);
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec || !fs::is_symlink(st)) return p.string();
    const fs::path next = fs::read_symlink(p, ec);
    if (ec) return std::nullopt;
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return std::nullopt;
}
}  // namespace

bool writeFileSafely(const std::string& name, std::span<const std::uint8_t> bytes) {
  if (name.empty()) return false;
  // A symbolic link stays a link: the new bytes replace the file it points to.
  const std::optional<std::string> target = linkTarget(name);
  if (!target) return false;
  const std::string& path = *target;
  std::string temp = path + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) ok = false;
    else done += static_cast<std::size_t>(put);
  }
  // A replaced file keeps its permissions; a new one gets the usual 0666 & ~umask.
  struct stat st {};
  if (ok) {
    if (::stat(path.c_str(), &st) == 0) {
      ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    } else {
      mode_t mask = ::umask(0);
      ::umask(mask);
      ok = ::fchmod(fd, 0666 & ~mask) == 0;
    }
  }
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool writeFileSafely(const std::string& path, std::string_view text) {
  return writeFileSafely(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string directoryOf(const std::string& path) {
  std::string dir = std::filesystem::path(path).parent_path().string();
  return dir.empty() ? "." : dir;
}

std::string lowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace common
