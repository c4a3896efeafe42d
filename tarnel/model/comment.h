#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/game_model.h"

namespace tarnel {

// A comment file holds 200 bytes; only bytes 0 to 198 are ever read back.
inline constexpr int kCommentReadBytes = kCommentBytes - 1;

// The comment file beside a game file: from the last "." of the file's own
// name, four characters (the dot and three after it, fewer at the end) are
// removed and ".cmt" is appended; a name without "." gets ".cmt" appended.
std::string commentFileName(const std::string& gamePath);

// Puts the bytes of a comment file into the buffer: bytes 0 to 198 at most,
// a zero after the last one taken and at position 199.
void takeCommentBytes(std::array<char, kCommentBytes>& buffer, std::span<const std::uint8_t> bytes);

// Reads a comment file into the model's comment buffer; false (buffer
// unchanged) when it is not a readable regular file.
bool readCommentFile(GameModel& model, const std::string& commentPath);

}  // namespace tarnel
