#include "common/file_io.h"

#include <algorithm>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#endif

namespace common {

// The system calls of reading and the safe write; file_io_windows.cpp holds
// their Windows counterparts.
#ifndef _WIN32
RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool RegularFile::isOpen() const { return fd_ >= 0; }

bool RegularFile::open(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = next_ = 0;
  failed_ = false;
  // The name is looked at first, so a device is not even opened; O_NONBLOCK
  // keeps the open of a named pipe put there since from waiting for a
  // writer, and fstat checks what was really opened.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(st.st_size);
  return true;
}

std::size_t RegularFile::readAt(std::uint64_t pos, std::uint8_t* out, std::size_t n) {
  if (fd_ < 0) return 0;
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(pos + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) failed_ = true;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

std::size_t RegularFile::read(std::uint8_t* out, std::size_t n) {
  const std::size_t got = readAt(next_, out, n);
  next_ += got;
  return got;
}

#endif  // !_WIN32

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::uint64_t maxBytes) {
  RegularFile file;
  if (!file.open(path)) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(file.size(), maxBytes)));
  // A file that shrank while reading gives what it still held.
  bytes.resize(file.readAt(0, bytes.data(), bytes.size()));
  if (file.failed()) return std::nullopt;
  return bytes;
}

std::optional<std::uint64_t> regularFileSize(const std::string& path) {
  RegularFile file;
  if (!file.open(path)) return std::nullopt;
  return file.size();
}

#ifndef _WIN32
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

std::filesystem::path pathFromUtf8(const std::string& text) { return text; }

std::string utf8FromPath(const std::filesystem::path& path) { return path.string(); }

std::vector<std::string> programArguments(int argc, char** argv) { return {argv, argv + argc}; }

void binaryStandardStreams() {}
#endif  // !_WIN32

bool writeFileSafely(const std::string& path, std::string_view text) {
  return writeFileSafely(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool isWindowsDeviceName(const std::string& path) {
  if (path.starts_with("\\\\.\\") || path.starts_with("//./") || path.starts_with("\\\\?\\GLOBALROOT"))
    return true;
  const std::size_t slash = path.find_last_of("\\/");
  std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  // A drive-relative path (C:NUL) names what follows its drive.
  if (slash == std::string::npos && name.size() >= 2 && name[1] == ':' &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
    name.erase(0, 2);
  // The name ends at its extension or at a colon: CON: and COM1:.tmp-1 are
  // the devices themselves (the colon starts a stream of the device).
  name = name.substr(0, name.find_first_of(".:"));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
    if (name == device) return true;
  // COM and LPT with a digit, the superscript ones (UTF-8) included.
  if (!name.starts_with("COM") && !name.starts_with("LPT")) return false;
  const std::string digit = name.substr(3);
  return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\u00B9" || digit == "\u00B2" ||
         digit == "\u00B3";
}

std::string directoryOf(const std::string& path) {
  std::string dir = utf8FromPath(pathFromUtf8(path).parent_path());
  return dir.empty() ? "." : dir;
}

std::string lowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace common
