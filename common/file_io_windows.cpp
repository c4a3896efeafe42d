// The Windows side of common's file helpers: reading regular files only, the
// safe write with an atomic replace, UTF-8 paths as wide-character names and
// the command line in UTF-8. Built instead of the POSIX part of file_io.cpp.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>

#include "common/file_io.h"

namespace common {

namespace {

// A UTF-8 text as a wide-character name; empty when it is not valid UTF-8 or
// holds a zero byte, which would cut the name short and so name another file.
std::wstring wideName(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX || text.find('\0') != std::string::npos) return {};
  const int size = static_cast<int>(text.size());
  const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
  return wide;
}

std::string utf8Text(const std::wstring& wide) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The name of the file a path ends at once its symbolic links and junctions
// are followed; the path itself when nothing is there yet.
std::wstring finalName(const std::wstring& path) {
  const HANDLE h = ::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                 nullptr);
  if (h == INVALID_HANDLE_VALUE) return path;
  std::wstring name(MAX_PATH, L'\0');
  DWORD n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
  if (n >= name.size()) {
    name.resize(n);
    n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
  }
  ::CloseHandle(h);
  if (n == 0 || n >= name.size()) return path;
  name.resize(n);
  return name;
}

bool writeAll(HANDLE h, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    if (!::WriteFile(h, bytes.data() + done, chunk, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

}  // namespace

RegularFile::~RegularFile() {
  if (handle_) ::CloseHandle(handle_);
}

bool RegularFile::isOpen() const { return handle_ != nullptr; }

bool RegularFile::open(const std::string& path) {
  if (handle_) ::CloseHandle(handle_);
  handle_ = nullptr;
  size_ = next_ = 0;
  failed_ = false;
  // The name is looked at first, so a device is not even opened; the type
  // of what was opened is checked again, as it may have changed since.
  const std::wstring name = wideName(path);
  if (name.empty() || isWindowsDeviceName(path)) return false;
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
    return false;
  const HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::CloseHandle(h);
    return false;
  }
  handle_ = h;
  size_ = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

std::size_t RegularFile::readAt(std::uint64_t pos, std::uint8_t* out, std::size_t n) {
  if (!handle_) return 0;
  std::size_t done = 0;
  while (done < n) {
    const std::uint64_t at = pos + done;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(handle_, out + done, chunk, &got, &where)) {
      if (::GetLastError() != ERROR_HANDLE_EOF) failed_ = true;
      break;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

std::size_t RegularFile::read(std::uint8_t* out, std::size_t n) {
  const std::size_t got = readAt(next_, out, n);
  next_ += got;
  return got;
}

bool writeFileSafely(const std::string& name, std::span<const std::uint8_t> bytes) {
  std::wstring path = wideName(name);
  if (path.empty() || isWindowsDeviceName(name)) return false;
  // A symbolic link stays a link: the new bytes replace the file it points to.
  path = finalName(path);
  // A folder in the way stays; a file marked read-only is not replaced, as
  // Windows itself refuses to overwrite it.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    return false;

  std::random_device random;
  std::wstring temp;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    wchar_t suffix[16];
    std::swprintf(suffix, 16, L".tmp-%06x", random() & 0xFFFFFFu);
    temp = path + suffix;
    h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = writeAll(h, bytes) && ::FlushFileBuffers(h);
  if (!::CloseHandle(h)) ok = false;
  if (ok)
    ok = ::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) ::DeleteFileW(temp.c_str());
  return ok;
}

std::filesystem::path pathFromUtf8(const std::string& text) {
  // Not valid UTF-8: the bytes as they come, as the system's code page reads them.
  const std::wstring wide = wideName(text);
  return wide.empty() ? std::filesystem::path(text) : std::filesystem::path(wide);
}

std::string utf8FromPath(const std::filesystem::path& path) { return utf8Text(path.native()); }

std::vector<std::string> programArguments(int argc, char** argv) {
  int n = 0;
  if (LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &n)) {
    std::vector<std::string> args;
    for (int k = 0; k < n; ++k) args.push_back(utf8Text(wide[k]));
    ::LocalFree(wide);
    return args;
  }
  return {argv, argv + argc};
}

void binaryStandardStreams() {
  std::fflush(stdout);
  std::fflush(stderr);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace common
