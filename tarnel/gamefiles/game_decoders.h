#pragma once

// Game files decoded without a window: bytes in, a decoded game and a load
// error out. The menu's loads, tarnel-cli, export, import and the comparison
// of two games all read files through these; the load commands then report
// the error's message and take the game in. game_encoders.h is the writing
// counterpart.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/file_io.h"
#include "common/prompts.h"
#include "model/game_model.h"

namespace tarnel {

enum class LoadError : std::uint8_t { None, CannotOpen, WrongSize, WrongMagic, Password };

struct DecodedGame {
  LoadError error = LoadError::None;
  GameFileKind kind = GameFileKind::None;  // the generation it was read as
  // The image ran full ("Too much data"): what was decoded is there, but
  // model.loaded stays None so that it is never saved.
  bool tooMuchData = false;
  // Where the end of the file cut a sectioned stream short: the section
  // position, 0 when it did not; noSections when nothing followed the header.
  int endedInside = 0;
  bool noSections = false;
  // Image, directory, layout, negative-length flag, version 1.0 length and
  // loaded generation of the file; nothing else of the model is set.
  GameModel model;

  bool ok() const { return error == LoadError::None; }
};

// The sizes a version 1.0 file may have, both inclusive.
inline constexpr std::uint64_t kV10MinSize = 705076;
inline constexpr std::uint64_t kV10MaxSize = 705481;
constexpr bool isV10Size(std::uint64_t size) { return size >= kV10MinSize && size <= kV10MaxSize; }

// The magic test: the first line of at most 29 characters, up to its first
// NUL, equals the magic (so bytes 0 to 15 are the magic and byte 16 is 0).
[[nodiscard]] bool hasMagic(std::span<const std::uint8_t> bytes, std::string_view magic);

// How many of a file's first bytes gameFileKindOf looks at.
inline constexpr std::size_t kKindHeadBytes = 64;

// Which generation a file is, from its first bytes (`head`: the first
// kKindHeadBytes, or the whole file when it is shorter) and its size: VN3 by
// its magic, else version 1.1 by its magic, else version 1.0 when the size
// lies in the version 1.0 range; None when it is none of them.
GameFileKind gameFileKindOf(std::span<const std::uint8_t> head, std::uint64_t fileSize);
// The same for a file on disk; None also when it cannot be read.
GameFileKind gameFileKindOf(const std::string& path);
// Only the two sectioned generations, by their magic (the start-up load takes
// no version 1.0 file); None when the file has neither magic.
GameFileKind sectionedKindOf(const std::string& path);

// A version 1.0 file: 705,076 to 705,481 bytes, else WrongSize.
void decodeV10(std::span<const std::uint8_t> bytes, DecodedGame& out);
// A version 1.1 or VN3 file: its magic (else WrongMagic), the section stream,
// then the password test (Password).
void decodeSectioned(common::ByteSource& bytes, std::uint64_t size, GameFileKind kind, DecodedGame& out);
void decodeSectioned(std::span<const std::uint8_t> bytes, GameFileKind kind, DecodedGame& out);
// A file's bytes as the given generation: decodeV10 or decodeSectioned.
void decodeGame(std::span<const std::uint8_t> bytes, GameFileKind kind, DecodedGame& out);

// Reads and decodes a file as the given generation (CannotOpen when it cannot
// be read). The result is large: it is filled in place.
void readGameFile(const std::string& path, GameFileKind kind, DecodedGame& out);

// The load commands' message for an error, with its title.
struct LoadMessage {
  std::string text;
  std::string title;
  common::MessageIcon icon = common::MessageIcon::Error;
};
LoadMessage loadErrorMessage(LoadError error, GameFileKind kind);
// The warning for a file cut short, empty when it was whole.
std::string cutShortWarning(const DecodedGame& game);

}  // namespace tarnel
