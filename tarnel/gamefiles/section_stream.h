#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/game_model.h"

namespace tarnel {

inline constexpr std::string_view kMagicV11 = "VARNO2_SAVE_V100";
inline constexpr std::string_view kMagicVn3 = "VARNO3_SAVE_V100";
inline constexpr int kMaxSections = 99;

// Upper bound of the coded size of n bytes, for sizing output buffers.
constexpr std::size_t packedBound(std::size_t n) { return n + n / 127 + 2; }

// Run-length packets of d: runs of 3 to 127 equal bytes (control 128 + count,
// then the byte) and literals of 1 to 127 bytes (control count, then the
// bytes) that stop just before three equal bytes. Writes to out, which must
// hold packedBound(d.size()) bytes; returns the coded size.
std::size_t packSection(std::span<const std::uint8_t> d, std::uint8_t* out);

// Decodes packets from `in` into out[0..capacity). Stops when the input ends
// or the output is full; returns the number of bytes decoded. Control bytes 0
// to 128 are literals (0 yields nothing), 129 to 255 runs of c - 128.
std::size_t unpackSection(std::span<const std::uint8_t> in, std::uint8_t* out,
                          std::size_t capacity);

enum class ReadStatus { Ok, TooMuchData };

// Decodes a whole sectioned file (header and up to 99 sections) into the
// image and the section directory, and sets the negative-length flag from
// section 1. Never writes outside the image: a byte that would land beyond it
// stops decoding with TooMuchData, keeping what was decoded so far.
ReadStatus readSectionStream(std::span<const std::uint8_t> file, GameModel& model);

// Appends one section: stored when coding would not make it smaller.
void writeSection(std::vector<std::uint8_t>& out, std::int32_t id,
                  std::span<const std::uint8_t> body, bool negateLengths);

// The magic, four zero bytes, then every directory position 1..99 of
// non-zero length with its identifier.
std::vector<std::uint8_t> writeSectionStream(const GameModel& model, std::string_view magic);

}  // namespace tarnel
