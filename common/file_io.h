#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace common {

// Reads up to maxBytes of a file into memory in one go. nullopt when the file
// cannot be opened or is not a regular file.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::uint64_t maxBytes = UINT64_MAX);

// Size of a regular file, nullopt when it cannot be opened.
std::optional<std::uint64_t> regularFileSize(const std::string& path);

// Writes the bytes to a temporary file beside `path`, checks every write and
// renames it over `path` only when all went well. On failure the old file is
// untouched and the temporary file removed. A `path` that is a symbolic link
// keeps the link; the file it points to gets the bytes.
bool writeFileSafely(const std::string& path, std::span<const std::uint8_t> bytes);
bool writeFileSafely(const std::string& path, std::string_view text);

// Directory part of a path ("." when the path has none).
std::string directoryOf(const std::string& path);

// ASCII lower case, as the file label shows paths.
std::string lowerCase(std::string text);

}  // namespace common
