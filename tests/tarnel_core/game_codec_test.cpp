// The reader and the writer of game files as a pair: which generation a file
// is, and that what the writer makes of a document in one generation the
// reader takes back as that generation with the same image and directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "common/file_io.h"
#include "game_sample.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/game_encoders.h"
#include "support/test_dir.h"

using namespace tarnel;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes withNul(std::string_view magic) {
  Bytes b = bytesOf(magic);
  b.resize(64, 0);
  return b;
}

struct KindCase {
  const char* what;
  Bytes head;
  std::uint64_t size;
  GameFileKind kind;
};

TEST(GameFileKindOf, MagicFirstThenTheVersionOneSizes) {
  Bytes magicThenText = bytesOf("VARNO3_SAVE_V100X");
  magicThenText.resize(64, 0);
  const Bytes plain(64, 7);
  const KindCase cases[] = {
      {"VN3 magic", withNul("VARNO3_SAVE_V100"), 4096, GameFileKind::Vn3},
      {"version 1.1 magic", withNul("VARNO2_SAVE_V100"), 4096, GameFileKind::V11},
      {"a magic wins over a version 1.0 size", withNul("VARNO2_SAVE_V100"), 705200, GameFileKind::V11},
      {"the magic alone is a whole file", bytesOf("VARNO3_SAVE_V100"), 16, GameFileKind::Vn3},
      {"a line feed after the magic belongs to the line", bytesOf("VARNO3_SAVE_V100\n"), 17, GameFileKind::None},
      {"more text after the magic is no magic", magicThenText, 4096, GameFileKind::None},
      {"nor at a version 1.0 size", magicThenText, 705200, GameFileKind::V10},
      {"a magic cut short", bytesOf("VARNO3_SAVE_V10"), 15, GameFileKind::None},
      {"lower case is another text", withNul("varno3_save_v100"), 4096, GameFileKind::None},
      {"one byte below the version 1.0 sizes", plain, 705075, GameFileKind::None},
      {"the smallest version 1.0 size", plain, 705076, GameFileKind::V10},
      {"the largest version 1.0 size", plain, 705481, GameFileKind::V10},
      {"one byte above them", plain, 705482, GameFileKind::None},
      {"an empty file", {}, 0, GameFileKind::None},
  };
  for (const KindCase& c : cases) EXPECT_EQ(gameFileKindOf(c.head, c.size), c.kind) << c.what;
}

class ReaderWriterPair : public ::testing::TestWithParam<GameFileKind> {
 protected:
  tarnel::testing::TestDir tmp{"tarnel_codec"};
  std::string path(const char* name) const { return (tmp.path() / name).string(); }

  static GameModel sample(GameFileKind kind) {
    samplegen::SampleOptions o;
    o.kind = kind;
    o.unitsPerSide = 15;
    return samplegen::makeGameModel(o);
  }
};

INSTANTIATE_TEST_SUITE_P(Generations, ReaderWriterPair,
                         ::testing::Values(GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3),
                         [](const ::testing::TestParamInfo<GameFileKind>& p) {
                           return std::string(p.param == GameFileKind::V10   ? "V10"
                                              : p.param == GameFileKind::V11 ? "V11"
                                                                             : "VN3");
                         });

TEST_P(ReaderWriterPair, WhatOneGenerationWritesReadsBackAsThatGeneration) {
  const GameFileKind kind = GetParam();
  const GameModel m = sample(kind);
  const Bytes file = encodeGame(m, kind);
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(gameFileKindOf(std::span(file).first(std::min(file.size(), kKindHeadBytes)), file.size()), kind);

  DecodedGame d;
  decodeGame(file, kind, d);
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.model.loaded, kind);
  EXPECT_EQ(d.model.layout, m.layout);
  if (kind == GameFileKind::V10) {
    EXPECT_EQ(d.model.sectionOffset, m.sectionOffset);
    EXPECT_EQ(d.model.v10Length, m.v10Length);
  } else {
    EXPECT_EQ(d.model.sectionLength, m.sectionLength);
    for (int j = 1; j < kDirectorySize; ++j) {
      if (m.sectionLength[j] == 0) continue;
      EXPECT_EQ(d.model.sectionOffset[j], m.sectionOffset[j]) << j;
      EXPECT_EQ(d.model.sectionId[j], m.sectionId[j]) << j;
    }
  }
  EXPECT_EQ(encodeGame(d.model, kind), file);

  // Through the disk: the file holds those bytes and is found as that kind.
  ASSERT_TRUE(writeGameFile(path("game.dat"), m, kind));
  EXPECT_EQ(common::readFileBytes(path("game.dat")), file);
  EXPECT_EQ(gameFileKindOf(path("game.dat")), kind);
  DecodedGame again;
  readGameFile(path("game.dat"), kind, again);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.model.image(), d.model.image());
}

TEST_P(ReaderWriterPair, NoFileOfNoGenerationAndNoFileFromNowhere) {
  const GameModel m = sample(GetParam());
  ASSERT_TRUE(common::writeFileSafely(path("old.dat"), std::string_view("old")));
  EXPECT_TRUE(encodeGame(m, GameFileKind::None).empty());
  EXPECT_FALSE(writeGameFile(path("old.dat"), m, GameFileKind::None));
  EXPECT_FALSE(writeGameFile(path("new.dat"), m, GameFileKind::None));
  EXPECT_EQ(common::readFileBytes(path("old.dat")), bytesOf("old"));
  EXPECT_FALSE(std::filesystem::exists(path("new.dat")));

  EXPECT_EQ(gameFileKindOf(path("missing.dat")), GameFileKind::None);
  EXPECT_EQ(gameFileKindOf(tmp.path().string()), GameFileKind::None);  // a folder
  EXPECT_EQ(sectionedKindOf(path("missing.dat")), GameFileKind::None);
}

TEST(GameWriter, VersionOneWritesItsLengthButNeverPastTheImage) {
  GameDocument d;
  d.setByteAt(0, 'A');
  d.setByteAt(kImageSize - 1, 'Z');
  const struct {
    std::int32_t length;
    std::size_t written;
  } cases[] = {{705076, 705076}, {kImageSize + 1000, kImageSize}, {-5, 0}, {0, 0}};
  for (const auto& c : cases) {
    d.v10Length = c.length;
    const Bytes file = encodeGame(d, GameFileKind::V10);
    ASSERT_EQ(file.size(), c.written) << c.length;
    if (!file.empty()) {
      EXPECT_EQ(file.front(), 'A');
    }
  }
}

TEST(GameReader, OnlyTheSectionedGenerationsHaveAMagicToMatch) {
  // A file of zero bytes matches an empty magic; no generation without a
  // magic may read it as sectioned.
  const Bytes zeros(4096, 0);
  for (const GameFileKind kind : {GameFileKind::None, GameFileKind::V10}) {
    DecodedGame d;
    decodeSectioned(zeros, kind, d);
    EXPECT_EQ(d.error, LoadError::WrongMagic);
  }
  const Bytes vn3 = samplegen::makeGameFile({});
  for (const auto& [kind, error] : {std::pair{GameFileKind::V11, LoadError::WrongMagic},
                                    std::pair{GameFileKind::V10, LoadError::WrongSize},
                                    std::pair{GameFileKind::Vn3, LoadError::None}}) {
    DecodedGame d;
    decodeGame(vn3, kind, d);
    EXPECT_EQ(d.error, error) << static_cast<int>(kind);
  }
}

}  // namespace
