#include "gamefiles/section_stream.h"

#include <algorithm>
#include <cstring>

namespace tarnel {

namespace {

inline bool tripleAt(const std::uint8_t* d, std::size_t p, std::size_t n) {
  return p + 2 < n && d[p] == d[p + 1] && d[p] == d[p + 2];
}

std::int32_t readInt32(const std::uint8_t* p) {
  std::uint32_t v = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                    (std::uint32_t{p[3]} << 24);
  return static_cast<std::int32_t>(v);
}

void appendInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
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
      std::size_t count = 3;
      while (count < 127 && p + count < n && d[p + count] == v) ++count;
      *o++ = static_cast<std::uint8_t>(128 + count);
      *o++ = v;
      p += count;
    } else {
      const std::size_t start = p;
      std::size_t count = 1;
      ++p;
      while (count < 127 && p < n && !tripleAt(d, p, n)) {
        ++count;
        ++p;
      }
      *o++ = static_cast<std::uint8_t>(count);
      std::memcpy(o, d + start, count);
      o += count;
    }
  }
  return static_cast<std::size_t>(o - out);
}

std::size_t unpackSection(std::span<const std::uint8_t> in, std::uint8_t* out,
                          std::size_t capacity) {
  std::size_t p = 0;
  std::size_t k = 0;
  const std::size_t n = in.size();
  while (p < n && k < capacity) {
    const unsigned c = in[p++];
    if (c <= 128) {
      std::size_t take = std::min<std::size_t>({c, n - p, capacity - k});
      std::memcpy(out + k, in.data() + p, take);
      p += c;
      k += take;
    } else {
      if (p >= n) break;
      const std::uint8_t v = in[p++];
      std::size_t take = std::min<std::size_t>(c - 128, capacity - k);
      std::memset(out + k, v, take);
      k += take;
    }
  }
  return k;
}

ReadStatus readSectionStream(std::span<const std::uint8_t> file, GameModel& m) {
  std::fill(m.image.begin(), m.image.end(), std::uint8_t{0});
  m.sectionOffset.fill(0);
  m.sectionLength.fill(0);
  m.negativeLength = false;

  const std::size_t size = file.size();
  const std::uint8_t* f = file.data();
  std::uint8_t* image = m.image.data();
  const std::size_t imageSize = m.image.size();

  std::size_t pos = std::min<std::size_t>(kHeaderSize, size);
  std::memcpy(image, f, pos);
  m.sectionLength[0] = kHeaderSize;
  std::size_t r = kHeaderSize;

  for (int j = 1; j <= kMaxSections; ++j) {
    m.sectionOffset[j] = static_cast<std::int32_t>(r);
    std::int32_t id = 0;
    std::int64_t length = 0;
    bool coded = false;
    if (size - pos >= 9) {
      id = readInt32(f + pos);
      length = readInt32(f + pos + 4);
      coded = f[pos + 8] != 0;
      pos += 9;
    } else {
      pos = size;  // a header cut short by the end of the file: empty position
    }
    if (length < 0) {
      if (j == 1) m.negativeLength = true;
      length = -length;
    }
    m.sectionId[j] = id;

    // The declared body, cut short by the end of the file.
    const std::size_t bodyLength = static_cast<std::size_t>(std::min<std::int64_t>(length, static_cast<std::int64_t>(size - pos)));
    const std::size_t room = imageSize - r;
    std::size_t k = 0;
    bool overflow = false;
    if (coded) {
      // A packet that runs past the declared length is still read whole.
      std::size_t p = 0;
      std::int64_t remaining = length;
      const std::uint8_t* b = f + pos;
      const std::size_t avail = size - pos;
      while (remaining > 0 && p < avail) {
        const unsigned c = b[p++];
        --remaining;
        if (c <= 128) {
          std::size_t take = std::min<std::size_t>(c, avail - p);
          if (take > room - k) {
            std::memcpy(image + r + k, b + p, room - k);
            k = room;
            overflow = true;
            break;
          }
          std::memcpy(image + r + k, b + p, take);
          p += take;
          k += take;
          remaining -= c;
        } else {
          if (p >= avail) break;
          const std::uint8_t v = b[p++];
          --remaining;
          std::size_t count = c - 128;
          if (count > room - k) {
            std::memset(image + r + k, v, room - k);
            k = room;
            overflow = true;
            break;
          }
          std::memset(image + r + k, v, count);
          k += count;
        }
      }
      pos += p;
    } else {
      std::size_t take = bodyLength;
      if (take > room) {
        take = room;
        overflow = true;
      }
      std::memcpy(image + r, f + pos, take);
      k = take;
      pos += bodyLength;
    }
    if (overflow) return ReadStatus::TooMuchData;
    m.sectionLength[j] = static_cast<std::int32_t>(k);
    r += k;
  }
  return ReadStatus::Ok;
}

void writeSection(std::vector<std::uint8_t>& out, std::int32_t id,
                  std::span<const std::uint8_t> body, bool negateLengths) {
  const std::size_t n = body.size();
  const std::size_t headerAt = out.size();
  out.resize(headerAt + 9 + packedBound(n));
  std::uint8_t* packed = out.data() + headerAt + 9;
  const std::size_t s = packSection(body, packed);
  const bool coded = s < n;
  if (!coded) std::memcpy(packed, body.data(), n);
  const std::size_t bodySize = coded ? s : n;
  out.resize(headerAt + 9 + bodySize);

  std::vector<std::uint8_t> header;
  header.reserve(9);
  appendInt32(header, id);
  const auto len = static_cast<std::int32_t>(bodySize);
  appendInt32(header, negateLengths ? -len : len);
  header.push_back(coded ? 1 : 0);
  std::memcpy(out.data() + headerAt, header.data(), 9);
}

std::vector<std::uint8_t> writeSectionStream(const GameModel& m, std::string_view magic) {
  std::vector<std::uint8_t> out;
  out.reserve(m.image.size() / 4);
  out.insert(out.end(), magic.begin(), magic.end());
  out.resize(out.size() + 4, 0);
  const std::size_t imageSize = m.image.size();
  for (int j = 1; j <= kMaxSections; ++j) {
    if (m.sectionLength[j] <= 0) continue;
    // The directory always lies inside the image after a read; clamp anyway.
    const auto offset = static_cast<std::size_t>(std::clamp<std::int64_t>(m.sectionOffset[j], 0, static_cast<std::int64_t>(imageSize)));
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(m.sectionLength[j]), imageSize - offset);
    writeSection(out, m.sectionId[j], std::span(m.image.data() + offset, length), m.negativeLength);
  }
  return out;
}

}  // namespace tarnel
