#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "common/file_io.h"
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

// Decodes a sectioned file (header and up to 99 sections) into the image and
// the section directory, and sets the negative-length flag from section 1.
// The bytes may come in pieces of any size: each call to feed decodes what
// the pieces given so far hold whole. Never writes outside the image: a byte
// that would land beyond it stops decoding with TooMuchData, keeping what was
// decoded so far.
class SectionDecoder {
 public:
  // Clears the directory; the image is decoded beside the model's and takes
  // its place (of the same size) at finish().
  explicit SectionDecoder(GameDocument& model);

  // Decodes from the bytes that follow those of the previous calls. Without
  // `final` it stops before a header or packet that `bytes` does not hold
  // whole and returns how many bytes it used: the rest comes again, with more
  // behind it, in the next call. With `final` the bytes end the file.
  std::size_t feed(std::span<const std::uint8_t> bytes, bool final);
  // True once all 99 positions are read or the image is full: the rest of
  // the file is not part of the stream.
  bool done() const { return phase_ == Phase::Done; }
  // Ends decoding and hands the image to the model; TooMuchData when the
  // image ran full.
  [[nodiscard]] ReadStatus finish();
  // Where the end of the file cut the stream short: the position of the
  // section whose header or body it ended in, 0 when every section was whole.
  int endedInside() const { return endedInside_; }
  // True when nothing followed the file header.
  bool holdsNoSections() const { return noSections_; }

 private:
  enum class Phase { FileHeader, SectionHeader, Body, Done };
  std::size_t stop(std::size_t pos);

  GameDocument& m_;
  std::vector<std::uint8_t> image_;
  Phase phase_ = Phase::FileHeader;
  int j_ = 1;                   // section position
  std::size_t r_ = kHeaderSize; // image offset of the section
  std::size_t k_ = 0;           // bytes of the section decoded so far
  std::int64_t remaining_ = 0;  // declared body bytes not yet read
  bool coded_ = false;
  bool overflow_ = false;
  int endedInside_ = 0;
  bool noSections_ = false;
};

// How a read ended: TooMuchData, or where the file was cut short.
struct StreamEnd {
  ReadStatus status = ReadStatus::Ok;
  int endedInside = 0;  // section position, 0 when no section was cut
  bool noSections = false;
};

// A whole file in memory.
[[nodiscard]] ReadStatus readSectionStream(std::span<const std::uint8_t> file, GameDocument& model);
StreamEnd decodeSectionStream(std::span<const std::uint8_t> file, GameDocument& model);

// A file of any length read front to back through a buffer of `window`
// bytes, so memory stays bounded; reading stops after the 99th section.
inline constexpr std::size_t kStreamWindow = 4u << 20;
[[nodiscard]] ReadStatus readSectionStream(common::ByteSource& source, GameDocument& model,
                             std::size_t window = kStreamWindow);
StreamEnd decodeSectionStream(common::ByteSource& source, GameDocument& model,
                              std::size_t window = kStreamWindow);

// Appends one section: stored when coding would not make it smaller.
void writeSection(std::vector<std::uint8_t>& out, std::int32_t id,
                  std::span<const std::uint8_t> body, bool negateLengths);

// The magic, four zero bytes, then every directory position 1..99 of
// non-zero length with its identifier.
std::vector<std::uint8_t> writeSectionStream(const GameDocument& model, std::string_view magic);

}  // namespace tarnel
