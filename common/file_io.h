#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace common {

// Bytes read front to back in pieces of any size.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to n bytes into out; 0 only at the end of the data.
  virtual std::size_t read(std::uint8_t* out, std::size_t n) = 0;
};

// A regular file open for reading. Opening never blocks and never reads
// anything else: a named pipe, a device, a socket or a directory is refused
// before a byte of it is read.
class RegularFile : public ByteSource {
 public:
  RegularFile() = default;
  ~RegularFile() override;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // False when the path does not name a regular file that can be read.
  bool open(const std::string& path);
  bool isOpen() const;
  // The size when the file was opened.
  std::uint64_t size() const { return size_; }

  // Up to n bytes from pos on; fewer at the end of the file or on a read
  // error, which failed() then tells.
  std::size_t readAt(std::uint64_t pos, std::uint8_t* out, std::size_t n);
  // Reads on from where the previous read ended (the start at first).
  std::size_t read(std::uint8_t* out, std::size_t n) override;
  bool failed() const { return failed_; }

 private:
#ifdef _WIN32
  void* handle_ = nullptr;  // the Win32 file handle
#else
  int fd_ = -1;
#endif
  std::uint64_t size_ = 0;
  std::uint64_t next_ = 0;
  bool failed_ = false;
};

// Reads up to maxBytes of a file into memory in one go. nullopt when the file
// cannot be opened or read, or is not a regular file.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::uint64_t maxBytes = UINT64_MAX);

// Size of a regular file, nullopt when it cannot be opened.
std::optional<std::uint64_t> regularFileSize(const std::string& path);

// Writes the bytes to a temporary file beside `path`, checks every write and
// renames it over `path` only when all went well. On failure the old file is
// untouched and the temporary file removed. A `path` that is a symbolic link
// keeps the link; the file it points to gets the bytes.
[[nodiscard]] bool writeFileSafely(const std::string& path, std::span<const std::uint8_t> bytes);
[[nodiscard]] bool writeFileSafely(const std::string& path, std::string_view text);

// Paths are UTF-8 texts everywhere in the programs. These convert them to
// and from the file system's paths: on Windows its wide-character names,
// elsewhere the same bytes.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string utf8FromPath(const std::filesystem::path& path);

// The program's command-line arguments as UTF-8 texts, the program's own name
// first (on Windows taken from the wide-character command line).
std::vector<std::string> programArguments(int argc, char** argv);
// Standard output and error pass bytes as they are, so the command-line
// companions print the same bytes on every system (Windows would otherwise
// turn each line end into CR LF).
void binaryStandardStreams();

// True when the path names a device on Windows rather than a file: one in
// the device namespace (\\.\), or one whose last part is a name Windows
// keeps for a device in every folder (CON, PRN, AUX, NUL, COM0 to COM9, LPT0
// to LPT9, CONIN$, CONOUT$, CLOCK$), whatever its case, extension, trailing
// blanks or a colon after it (CON:, COM1:, C:\games\COM1:.tmp-1). The Windows
// file helpers never open such a name: a read from CON or COM1 would wait for
// input, and a save would write into the port.
bool isWindowsDeviceName(const std::string& path);

// Directory part of a path ("." when the path has none).
std::string directoryOf(const std::string& path);

// ASCII lower case, as the file label shows paths.
std::string lowerCase(std::string text);

}  // namespace common
