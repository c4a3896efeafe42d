#pragma once

// Game files decoded without a window: bytes in, a decoded game and a load
// error out. The menu's loads, tarnel-cli, export, import and the comparison
// of two games all read files through these; the load commands then report
// the error's message and take the game in.

#include <cstdint>
#include <span>
#include <string>

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

// A version 1.0 file: 705,076 to 705,481 bytes, else WrongSize.
void decodeV10(std::span<const std::uint8_t> bytes, DecodedGame& out);
// A version 1.1 or VN3 file: its magic (else WrongMagic), the section stream,
// then the password test (Password).
void decodeSectioned(common::ByteSource& bytes, std::uint64_t size, GameFileKind kind, DecodedGame& out);
void decodeSectioned(std::span<const std::uint8_t> bytes, GameFileKind kind, DecodedGame& out);

// Reads and decodes a file as the given generation (CannotOpen when it cannot
// be read). The result is large: it is filled in place.
void readGameFile(const std::string& path, GameFileKind kind, DecodedGame& out);
// The generation of a file by its magic, else 1.0 by its size, else None.
GameFileKind gameFileKindOf(const std::string& path);

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
