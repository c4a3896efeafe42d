#include "gamefiles/section_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "game_sample.h"

using namespace tarnel;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes pack(const Bytes& d) {
  Bytes out(packedBound(d.size()));
  out.resize(packSection(d, out.data()));
  return out;
}

Bytes unpack(const Bytes& coded, std::size_t capacity = 100000) {
  Bytes out(capacity);
  out.resize(unpackSection(coded, out.data(), capacity));
  return out;
}

void putInt(Bytes& b, std::int32_t v) {
  for (int k = 0; k < 4; ++k) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
}

// A file header followed by sections given as (id, length field, flag, body).
struct RawSection {
  std::int32_t id;
  std::int32_t length;
  std::uint8_t flag;
  Bytes body;
};

Bytes fileOf(const std::vector<RawSection>& sections, std::string_view magic = kMagicVn3) {
  Bytes f(magic.begin(), magic.end());
  f.insert(f.end(), {9, 8, 7, 6});
  for (const auto& s : sections) {
    putInt(f, s.id);
    putInt(f, s.length);
    f.push_back(s.flag);
    f.insert(f.end(), s.body.begin(), s.body.end());
  }
  return f;
}

Bytes imageSpan(const GameModel& m, int j) {
  auto b = m.image().begin() + m.sectionOffset[j];
  return Bytes(b, b + m.sectionLength[j]);
}

}  // namespace

TEST(Packetise, LiteralStopsBeforeTripleAndRunsSplitAt127) {
  Bytes d = {'a', 'b', 'c'};
  d.insert(d.end(), 130, 7);
  EXPECT_EQ(pack(d), (Bytes{3, 'a', 'b', 'c', 255, 7, 131, 7}));

  EXPECT_EQ(pack(Bytes(200, 9)), (Bytes{255, 9, 128 + 73, 9}));
  // Two equal bytes never start a run; a trailing pair stays literal.
  EXPECT_EQ(pack(Bytes{5, 5, 6, 6}), (Bytes{4, 5, 5, 6, 6}));
  // A run of 127 + 2 leaves a two-byte literal, not a run of 2.
  Bytes r(129, 4);
  EXPECT_EQ(pack(r), (Bytes{255, 4, 2, 4, 4}));
  EXPECT_TRUE(pack(Bytes{}).empty());
}

TEST(Packetise, LiteralsHoldAtMost127Bytes) {
  Bytes d(300);
  std::iota(d.begin(), d.end(), 0);  // no three equal neighbours
  Bytes p = pack(d);
  ASSERT_EQ(p.size(), 300u + 3u);
  EXPECT_EQ(p[0], 127);
  EXPECT_EQ(p[128], 127);
  EXPECT_EQ(p[256], 46);
  EXPECT_EQ(unpack(p), d);
}

TEST(Packetise, RoundTripsRandomAndRunHeavyData) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    Bytes d(static_cast<std::size_t>(rng() % 2000));
    for (auto& b : d) b = static_cast<std::uint8_t>(rng() % (round % 2 ? 3 : 256));
    Bytes p = pack(d);
    EXPECT_LE(p.size(), packedBound(d.size()));
    EXPECT_EQ(unpack(p), d);
  }
}

TEST(Unpack, Control128IsALiteralOf128AndZeroYieldsNothing) {
  Bytes coded = {0, 128};
  for (int k = 0; k < 128; ++k) coded.push_back(static_cast<std::uint8_t>(k));
  coded.insert(coded.end(), {0, 129, 'z'});
  Bytes out = unpack(coded);
  ASSERT_EQ(out.size(), 129u);
  EXPECT_EQ(out[127], 127);
  EXPECT_EQ(out[128], 'z');
}

TEST(Unpack, StopsAtCapacity) {
  Bytes out = unpack(Bytes{255, 1, 255, 2}, 200);
  EXPECT_EQ(out.size(), 200u);
  EXPECT_EQ(out[199], 2);
}

TEST(WriteSection, StoredWhenCodingDoesNotShrink) {
  Bytes out;
  writeSection(out, 77, Bytes{1, 1, 1, 2}, false);  // run 3 + literal 1 = 4 bytes = n
  Bytes expect;
  putInt(expect, 77);
  putInt(expect, 4);
  expect.push_back(0);
  expect.insert(expect.end(), {1, 1, 1, 2});
  EXPECT_EQ(out, expect);

  out.clear();
  writeSection(out, 5, Bytes(10, 0), true);  // coded, negated length
  Bytes coded;
  putInt(coded, 5);
  putInt(coded, -2);
  coded.push_back(1);
  coded.insert(coded.end(), {138, 0});
  EXPECT_EQ(out, coded);
}

TEST(ReadStream, DecodesStoredAndCodedSectionsIntoTheDirectory) {
  GameModel m;
  m.sectionId[50] = 1234;  // positions beyond the file get identifier 0
  Bytes f = fileOf({{11, 3, 0, {1, 2, 3}}, {12, 2, 1, {133, 9}}, {13, 4, 1, {3, 4, 5, 6}}});
  ASSERT_EQ(readSectionStream(f, m), ReadStatus::Ok);
  EXPECT_EQ(Bytes(m.image().begin(), m.image().begin() + 20), Bytes(f.begin(), f.begin() + 20));
  EXPECT_EQ(m.sectionLength[0], 20);
  EXPECT_EQ(m.sectionOffset[1], 20);
  EXPECT_EQ(imageSpan(m, 1), (Bytes{1, 2, 3}));
  EXPECT_EQ(m.sectionOffset[2], 23);
  EXPECT_EQ(imageSpan(m, 2), (Bytes{9, 9, 9, 9, 9}));
  EXPECT_EQ(imageSpan(m, 3), (Bytes{4, 5, 6}));
  EXPECT_EQ(m.sectionId[3], 13);
  EXPECT_EQ(m.sectionLength[4], 0);
  EXPECT_EQ(m.sectionOffset[99], 31);
  EXPECT_EQ(m.sectionId[50], 0);
  EXPECT_FALSE(m.negativeLength);
}

TEST(ReadStream, NegativeLengthOfSectionOneSetsTheFlagAndWriterNegatesAll) {
  GameModel m;
  Bytes f = fileOf({{1, -3, 0, {1, 2, 3}}, {2, 2, 1, {140, 0}}, {3, -1, 0, {5}}});
  EXPECT_EQ(readSectionStream(f, m), ReadStatus::Ok);
  EXPECT_TRUE(m.negativeLength);
  EXPECT_EQ(imageSpan(m, 3), (Bytes{5}));
  Bytes out = writeSectionStream(m, kMagicVn3);
  // Every length field comes out negated, stored and coded alike.
  Bytes expect = fileOf({{1, -3, 0, {1, 2, 3}}, {2, -2, 1, {140, 0}}, {3, -1, 0, {5}}});
  std::fill(expect.begin() + 16, expect.begin() + 20, 0);
  EXPECT_EQ(out, expect);

  // A negative length in a later section alone does not set the flag.
  GameModel later;
  EXPECT_EQ(readSectionStream(fileOf({{1, 1, 0, {1}}, {2, -1, 0, {2}}}), later), ReadStatus::Ok);
  EXPECT_FALSE(later.negativeLength);
  EXPECT_EQ(imageSpan(later, 2), (Bytes{2}));
}

TEST(ReadStream, EmptyMiddleSectionIsDroppedOnWriteShiftingLaterSections) {
  GameModel m;
  EXPECT_EQ(readSectionStream(fileOf({{1, 1, 0, {1}}, {2, 0, 0, {}}, {3, 1, 0, {3}}}), m), ReadStatus::Ok);
  EXPECT_EQ(m.sectionLength[2], 0);
  EXPECT_EQ(m.sectionId[2], 2);
  Bytes out = writeSectionStream(m, kMagicV11);
  GameModel again;
  EXPECT_EQ(readSectionStream(out, again), ReadStatus::Ok);
  EXPECT_EQ(again.sectionId[2], 3);
  EXPECT_EQ(imageSpan(again, 2), (Bytes{3}));
  EXPECT_EQ(again.sectionLength[3], 0);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 16), Bytes(kMagicV11.begin(), kMagicV11.end()));
}

TEST(ReadStream, PacketRunningPastDeclaredLengthIsReadWhole) {
  GameModel m;
  // Declared length 2 but the literal packet carries 3 bytes.
  EXPECT_EQ(readSectionStream(fileOf({{1, 2, 1, {3, 7, 8, 9}}, {2, 1, 0, {4}}}), m), ReadStatus::Ok);
  EXPECT_EQ(imageSpan(m, 1), (Bytes{7, 8, 9}));
  EXPECT_EQ(imageSpan(m, 2), (Bytes{4}));
}

TEST(ReadStream, TruncatedFilesEndTheStreamAndKeepEarlierSections) {
  Bytes full = fileOf({{1, 4, 0, {1, 2, 3, 4}}, {2, 4, 1, {131, 5, 1, 6}}, {3, 2, 0, {8, 9}}});
  for (std::size_t cut = 0; cut <= full.size(); ++cut) {
    GameModel m;
    Bytes f(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    ASSERT_EQ(readSectionStream(f, m), ReadStatus::Ok) << cut;
    if (cut >= 33) {
      EXPECT_EQ(imageSpan(m, 1), (Bytes{1, 2, 3, 4})) << cut;
    }
    int total = 0;
    for (int j = 0; j < kDirectorySize; ++j) total += m.sectionLength[j];
    EXPECT_LE(total, 30) << cut;
  }
  GameModel m;
  EXPECT_EQ(readSectionStream(Bytes(full.begin(), full.end() - 1), m), ReadStatus::Ok);
  EXPECT_EQ(imageSpan(m, 3), (Bytes{8}));  // a body cut short keeps what was there
}

TEST(ReadStream, TooMuchDataStopsAtTheEndOfTheImage) {
  // One stored section fills the image but one byte; the next run overflows.
  GameModel m;
  Bytes body(kImageSize - 21, 0xAB);
  Bytes f = fileOf({{1, static_cast<std::int32_t>(body.size()), 0, body}, {2, 2, 1, {255, 0xCD}}});
  EXPECT_EQ(readSectionStream(f, m), ReadStatus::TooMuchData);
  EXPECT_EQ(m.sectionLength[1], kImageSize - 21);
  EXPECT_EQ(m.image()[kImageSize - 1], 0xCD);
  EXPECT_EQ(m.image().size(), static_cast<std::size_t>(kImageSize));
  EXPECT_EQ(m.sectionLength[2], 0);

  // A huge declared stored length is cut by the file's end, not trusted.
  GameModel big;
  EXPECT_EQ(readSectionStream(fileOf({{1, 0x7FFFFFFF, 0, {1, 2}}}), big), ReadStatus::Ok);
  EXPECT_EQ(big.sectionLength[1], 2);
}

namespace {

// Hands out a file in pieces whose sizes cycle through `sizes`.
class PieceSource : public common::ByteSource {
 public:
  PieceSource(const Bytes& bytes, std::vector<std::size_t> sizes) : bytes_(bytes), sizes_(std::move(sizes)) {}
  std::size_t read(std::uint8_t* out, std::size_t n) override {
    const std::size_t take = std::min({n, sizes_[turn_++ % sizes_.size()], bytes_.size() - at_});
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), take, out);
    at_ += take;
    return take;
  }

 private:
  const Bytes& bytes_;
  std::vector<std::size_t> sizes_;
  std::size_t turn_ = 0;
  std::size_t at_ = 0;
};

}  // namespace

TEST(ReadStream, PiecesOfAnySizeDecodeAsTheWholeFile) {
  samplegen::SampleOptions o;
  o.unitsPerSide = 30;
  const Bytes sample = samplegen::makeGameFile(o);
  Bytes overflowing = fileOf({{1, kImageSize - 21, 0, Bytes(kImageSize - 21, 0xAB)}, {2, 2, 1, {255, 0xCD}}});
  const std::vector<Bytes> files = {
      sample,
      Bytes(sample.begin(), sample.begin() + 5000),  // a packet and a header cut by the end
      fileOf({{1, 2, 1, {3, 7, 8, 9}}, {2, -1, 0, {4}}, {3, 6, 1, {0, 0, 128}}}),
      overflowing,
      Bytes(10),
  };
  const std::vector<std::vector<std::size_t>> pieces = {{1}, {2, 9, 1}, {130, 7}, {4096}, {1 << 22}};
  for (std::size_t f = 0; f < files.size(); ++f) {
    GameModel whole;
    const ReadStatus expected = readSectionStream(files[f], whole);
    for (const auto& sizes : pieces) {
      GameModel m;
      PieceSource source(files[f], sizes);
      EXPECT_EQ(readSectionStream(source, m, 300), expected) << f << " " << sizes[0];
      EXPECT_TRUE(m.image() == whole.image() && m.sectionOffset == whole.sectionOffset &&
                  m.sectionLength == whole.sectionLength && m.sectionId == whole.sectionId &&
                  m.negativeLength == whole.negativeLength)
          << "file " << f << ", pieces " << sizes[0];
    }
  }
}
