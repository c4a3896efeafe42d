#include "gamefiles/section_stream.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tarnel {

namespace {

inline bool tripleAt(const std::uint8_t* d, std::size_t p, std::size_t n) {
  return p + 2 < n && d[p] == d[p + 1] && d[p] == d[p + 2];
}

inline std::uint64_t load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// The first position q in [p, limit) where three equal bytes start inside
// d[0..n), or limit. Eight positions at a time: byte i of (a^b)|(b^c) is zero
// exactly where d[q+i], d[q+i+1] and d[q+i+2] are equal, and the lowest
// flagged byte of the zero-byte test is always a true zero.
inline std::size_t findTriple(const std::uint8_t* d, std::size_t p, std::size_t limit,
                              std::size_t n) {
  while (p + 8 <= limit && p + 10 <= n) {
    const std::uint64_t a = load64(d + p);
    const std::uint64_t b = load64(d + p + 1);
    const std::uint64_t c = load64(d + p + 2);
    const std::uint64_t x = (a ^ b) | (b ^ c);
    const std::uint64_t zero = (x - kOnes) & ~x & kHighs;
    if (zero) return p + (static_cast<std::size_t>(__builtin_ctzll(zero)) >> 3);
    p += 8;
  }
  for (; p < limit; ++p)
    if (tripleAt(d, p, n)) return p;
  return limit;
}

// Bytes equal to v from p on, up to end.
inline std::size_t runEnd(const std::uint8_t* d, std::size_t p, std::size_t end, std::uint8_t v) {
  const std::uint64_t vv = kOnes * v;
  while (p + 8 <= end) {
    const std::uint64_t x = load64(d + p) ^ vv;
    if (x) return p + (static_cast<std::size_t>(__builtin_ctzll(x)) >> 3);
    p += 8;
  }
  while (p < end && d[p] == v) ++p;
  return p;
}

std::int32_t readInt32(const std::uint8_t* p) {
  std::uint32_t v = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                    (std::uint32_t{p[3]} << 24);
  return static_cast<std::int32_t>(v);
}

void putInt32(std::uint8_t* out, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int k = 0; k < 4; ++k) out[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

struct Decoded {
  std::size_t consumed;
  std::size_t produced;
  bool overflow;
};

// Decodes packets of a body whose remaining declared length is `length` from
// in[0..avail) into out[0..capacity). A packet that runs past the declared
// length is read whole. With `final` the end of the input is the end of the
// file and ends the body; without it decoding stops before a packet that the
// input does not hold whole, so the caller can go on once more bytes are
// there. Bytes up to 128 past the returned count may be overwritten: whole
// 128-byte blocks are copied while there is room, which keeps the inner loop
// free of short copies.
Decoded decodePackets(const std::uint8_t* in, std::size_t avail, std::int64_t length,
                      std::uint8_t* out, std::size_t capacity, bool final) {
  std::size_t p = 0;
  std::size_t k = 0;
  // Each packet counts its control byte and its data bytes against the
  // declared length, so "length > 0" is "p < declared end". While a whole
  // packet and a whole block fit, no other check is needed.
  const std::size_t bodyEnd = length < static_cast<std::int64_t>(avail) ? static_cast<std::size_t>(length) : avail;
  const std::size_t fastEnd = avail > 130 ? std::min(bodyEnd, avail - 130) : 0;
  while (p < fastEnd && k + 128 <= capacity) {
    const unsigned c = in[p++];
    if (c <= 128) {
      if (c == 0) {
        // Empty packets decode to nothing: a long run of them is passed over
        // eight at a time, so a file padded with them reads at memory speed.
        p = runEnd(in, p, fastEnd, 0);
        continue;
      }
      // Most packets of a game's records are a few bytes long: one 16-byte
      // copy covers them, and only longer packets copy the rest of a block.
      std::memcpy(out + k, in + p, 16);
      if (c > 16) std::memcpy(out + k + 16, in + p + 16, 112);
      p += c;
      k += c;
    } else {
      const std::uint8_t v = in[p++];
      std::memset(out + k, v, 16);
      if (c > 128 + 16) std::memset(out + k + 16, v, 112);
      k += c - 128;
    }
  }
  length -= static_cast<std::int64_t>(p);
  while (length > 0 && p < avail) {
    const unsigned c = in[p];
    if (!final && avail - p < (c <= 128 ? 1 + c : 2)) break;
    ++p;
    --length;
    if (c <= 128) {
      if (p + 128 <= avail && k + 128 <= capacity) {
        std::memcpy(out + k, in + p, 128);
      } else {
        const std::size_t take = std::min<std::size_t>(c, avail - p);
        if (take > capacity - k) {
          std::memcpy(out + k, in + p, capacity - k);
          return {p, capacity, true};
        }
        std::memcpy(out + k, in + p, take);
        if (take < c) return {avail, k + take, false};
      }
      p += c;
      k += c;
      length -= c;
    } else {
      if (p >= avail) break;
      const std::uint8_t v = in[p++];
      --length;
      const std::size_t count = c - 128;
      if (k + 128 <= capacity) {
        std::memset(out + k, v, 128);
      } else {
        if (count > capacity - k) {
          std::memset(out + k, v, capacity - k);
          return {p, capacity, true};
        }
        std::memset(out + k, v, count);
      }
      k += count;
    }
  }
  return {p, k, false};
}

}  // namespace

std::size_t packSection(std::span<const std::uint8_t> data, std::uint8_t* out) {
  const std::uint8_t* d = data.data();
  const std::size_t n = data.size();
  std::size_t p = 0;
  std::uint8_t* o = out;
  while (p < n) {
    if (tripleAt(d, p, n)) {
      const std::uint8_t v = d[p];
      const std::size_t end = runEnd(d, p + 3, std::min(n, p + 127), v);
      *o++ = static_cast<std::uint8_t>(128 + (end - p));
      *o++ = v;
      p = end;
    } else {
      // The first byte is always taken; the literal stops before a triple.
      const std::size_t end = findTriple(d, p + 1, std::min(n, p + 127), n);
      const std::size_t count = end - p;
      *o++ = static_cast<std::uint8_t>(count);
      std::memcpy(o, d + p, count);
      o += count;
      p = end;
    }
  }
  return static_cast<std::size_t>(o - out);
}

std::size_t unpackSection(std::span<const std::uint8_t> in, std::uint8_t* out,
                          std::size_t capacity) {
  return decodePackets(in.data(), in.size(), static_cast<std::int64_t>(in.size()), out, capacity, true)
      .produced;
}

SectionDecoder::SectionDecoder(GameDocument& model) : m_(model), image_(model.image().size(), 0) {
  m_.sectionOffset.fill(0);
  m_.sectionLength.fill(0);
  m_.negativeLength = false;
  m_.sectionLength[0] = kHeaderSize;
}

std::size_t SectionDecoder::feed(std::span<const std::uint8_t> bytes, bool final) {
  const std::uint8_t* f = bytes.data();
  const std::size_t size = bytes.size();
  std::uint8_t* image = image_.data();
  const std::size_t imageSize = image_.size();
  std::size_t pos = 0;
  while (phase_ != Phase::Done) {
    const std::size_t avail = size - pos;
    if (phase_ == Phase::FileHeader) {
      if (avail < kHeaderSize && !final) return pos;
      const std::size_t take = std::min<std::size_t>(kHeaderSize, avail);
      if (take > 0) std::memcpy(image, f + pos, take);
      pos += take;
      phase_ = Phase::SectionHeader;
    } else if (phase_ == Phase::SectionHeader) {
      m_.sectionOffset[j_] = static_cast<std::int32_t>(r_);
      std::int32_t id = 0;
      remaining_ = 0;
      coded_ = false;
      if (avail >= 9) {
        id = readInt32(f + pos);
        remaining_ = readInt32(f + pos + 4);
        coded_ = f[pos + 8] != 0;
        pos += 9;
      } else if (!final) {
        return pos;
      } else {
        // The end of the file: after the last whole section, or inside a
        // header, which leaves the position empty.
        if (avail > 0 && endedInside_ == 0) endedInside_ = j_;
        if (avail == 0 && j_ == 1) noSections_ = true;
        pos = size;
      }
      if (remaining_ < 0) {
        if (j_ == 1) m_.negativeLength = true;
        remaining_ = -remaining_;
      }
      m_.sectionId[j_] = id;
      k_ = 0;
      phase_ = Phase::Body;
    } else {
      const std::size_t room = imageSize - r_ - k_;
      if (coded_) {
        if (remaining_ > 0) {
          const Decoded d = decodePackets(f + pos, avail, remaining_, image + r_ + k_, room, final);
          pos += d.consumed;
          k_ += d.produced;
          remaining_ -= static_cast<std::int64_t>(d.consumed);
          if (d.overflow) return stop(pos);
        }
      } else {
        std::size_t take = static_cast<std::size_t>(std::min<std::int64_t>(remaining_, static_cast<std::int64_t>(avail)));
        if (take > room) {
          if (room > 0) std::memcpy(image + r_ + k_, f + pos, room);
          return stop(pos + room);
        }
        if (take > 0) std::memcpy(image + r_ + k_, f + pos, take);
        pos += take;
        k_ += take;
        remaining_ -= static_cast<std::int64_t>(take);
      }
      // Without `final` a body goes on in the next bytes; with it the end of
      // the file ends the body.
      if (remaining_ > 0 && !final) return pos;
      if (remaining_ > 0 && endedInside_ == 0) endedInside_ = j_;
      m_.sectionLength[j_] = static_cast<std::int32_t>(k_);
      r_ += k_;
      if (++j_ > kMaxSections) phase_ = Phase::Done;
      else phase_ = Phase::SectionHeader;
    }
  }
  return pos;
}

std::size_t SectionDecoder::stop(std::size_t pos) {
  phase_ = Phase::Done;
  overflow_ = true;
  return pos;
}

ReadStatus SectionDecoder::finish() {
  // Block copies may have spilled past the last section; the image beyond it
  // stays zero.
  if (!overflow_) std::memset(image_.data() + r_, 0, std::min<std::size_t>(128, image_.size() - r_));
  m_.adoptImage(std::move(image_));
  return overflow_ ? ReadStatus::TooMuchData : ReadStatus::Ok;
}

StreamEnd decodeSectionStream(std::span<const std::uint8_t> file, GameDocument& model) {
  SectionDecoder decoder(model);
  decoder.feed(file, true);
  const ReadStatus status = decoder.finish();
  return {status, decoder.endedInside(), decoder.holdsNoSections()};
}

ReadStatus readSectionStream(std::span<const std::uint8_t> file, GameDocument& model) {
  return decodeSectionStream(file, model).status;
}

ReadStatus readSectionStream(common::ByteSource& source, GameDocument& model, std::size_t window) {
  return decodeSectionStream(source, model, window).status;
}

StreamEnd decodeSectionStream(common::ByteSource& source, GameDocument& model, std::size_t window) {
  SectionDecoder decoder(model);
  // A packet is at most 129 bytes and a header 20, so a window of 256 bytes
  // always holds the next whole piece.
  const std::size_t capacity = std::max<std::size_t>(window, 256);
  const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[capacity]);
  std::size_t held = 0;
  bool end = false;
  while (!decoder.done()) {
    if (!end && held < capacity) {
      const std::size_t got = source.read(buffer.get() + held, capacity - held);
      end = got == 0;
      held += got;
    }
    const std::size_t used = decoder.feed(std::span(buffer.get(), held), end);
    std::memmove(buffer.get(), buffer.get() + used, held - used);
    held -= used;
    if (end) break;
  }
  const ReadStatus status = decoder.finish();
  return {status, decoder.endedInside(), decoder.holdsNoSections()};
}

void writeSection(std::vector<std::uint8_t>& out, std::int32_t id,
                  std::span<const std::uint8_t> body, bool negateLengths) {
  const std::size_t n = body.size();
  const std::size_t at = out.size();
  out.resize(at + 9 + packedBound(n));
  std::uint8_t* header = out.data() + at;
  std::uint8_t* packed = header + 9;
  const std::size_t s = packSection(body, packed);
  const bool coded = s < n;
  if (!coded && n > 0) std::memcpy(packed, body.data(), n);
  const auto length = static_cast<std::int32_t>(coded ? s : n);
  putInt32(header, id);
  putInt32(header + 4, negateLengths ? -length : length);
  header[8] = coded ? 1 : 0;
  out.resize(at + 9 + static_cast<std::size_t>(length));
}

std::vector<std::uint8_t> writeSectionStream(const GameDocument& m, std::string_view magic) {
  std::vector<std::uint8_t> out;
  out.reserve(m.image().size() / 4);
  out.insert(out.end(), magic.begin(), magic.end());
  out.resize(out.size() + 4, 0);
  const std::size_t imageSize = m.image().size();
  for (int j = 1; j <= kMaxSections; ++j) {
    if (m.sectionLength[j] <= 0) continue;
    // The directory always lies inside the image after a read; clamp anyway.
    const auto offset = static_cast<std::size_t>(std::clamp<std::int64_t>(m.sectionOffset[j], 0, static_cast<std::int64_t>(imageSize)));
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(m.sectionLength[j]), imageSize - offset);
    writeSection(out, m.sectionId[j], std::span(m.image().data() + offset, length), m.negativeLength);
  }
  return out;
}

}  // namespace tarnel
