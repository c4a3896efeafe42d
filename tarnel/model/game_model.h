#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/layout.h"

namespace tarnel {

inline constexpr int kImageSize = 2000000;
inline constexpr int kDirectorySize = 100;  // entry 0 is the 20-byte file header
inline constexpr int kHeaderSize = 20;
inline constexpr int kUnitCapacity = 800;   // rows of the unit grid and per-unit tables
inline constexpr int kV10Units = 400;       // units a version 1.0 image can hold
inline constexpr int kCommentBytes = 200;

// Loaded generation: 0 none, then the three file kinds.
enum class GameFileKind : std::uint8_t { None = 0, V10 = 1, V11 = 2, Vn3 = 3 };

// What a save writes and a load replaces: the decoded byte image, where each
// section lies in it, the layout and generation it was read with, the comment,
// and the values the grid fill derives from them. A value: copies compare
// with ==. Every read and write of a field goes through the bounded accessors
// below, so nothing touches bytes outside the image.
class GameDocument {
 public:
  GameDocument();

  std::array<std::int32_t, kDirectorySize> sectionOffset{};
  std::array<std::int32_t, kDirectorySize> sectionLength{};
  std::array<std::int32_t, kDirectorySize> sectionId{};
  std::int32_t v10Length = 0;

  const GenerationLayout* layout = &kVn2Layout;
  GameFileKind loaded = GameFileKind::None;
  bool negativeLength = false;

  // Derived after each load by the grid fill.
  int unitCount = 0;
  std::array<std::string, 2> sideNames;  // Windows-1252 bytes
  std::array<int, 2> sideNation{};
  std::array<int, 2> sideMob{};

  // Comment buffer: always zero-terminated within its 200 bytes.
  std::array<char, kCommentBytes> comment{};

  bool operator==(const GameDocument&) const = default;

  void selectLayout(GameFileKind kind);

  // The decoded bytes, kImageSize of them after any load.
  const std::vector<std::uint8_t>& image() const { return image_; }
  // Takes a whole decoded image in place of the present one.
  void adoptImage(std::vector<std::uint8_t> image) {
    image_ = std::move(image);
    written_ = {0, static_cast<std::int64_t>(image_.size())};
  }
  // The image offsets [first, second) that held every write since the last
  // forgetWrites(), so an undo transaction compares only those.
  std::pair<std::int64_t, std::int64_t> writtenRange() const { return {written_.from, written_.to}; }
  void forgetWrites() { written_ = {static_cast<std::int64_t>(image_.size()), 0}; }

  // Raw image access; out-of-image reads give 0, writes are dropped.
  int byteAt(std::int64_t offset) const;
  void setByteAt(std::int64_t offset, int value);
  int wordAt(std::int64_t offset) const;  // unsigned 16 bit, little-endian
  void setWordAt(std::int64_t offset, int value);
  std::string textAt(std::int64_t offset, int maxBytes) const;  // up to NUL

  std::int64_t unitOffset(int unit) const;
  std::int64_t leaderOffset(int leader) const;
  std::int64_t positionOffset(int unit) const;
  std::int64_t gameDataOffset() const;
  std::int64_t prestigeOffset() const;
  std::int64_t fieldOffset(int leader, LeaderField field) const { return leaderOffset(leader) + offsetOf(field); }
  std::int64_t fieldOffset(int unit, PositionField field) const { return positionOffset(unit) + offsetOf(field); }
  std::int64_t fieldOffset(int unit, UnitOffset field) const { return unitOffset(unit) + offsetOf(field); }

  int unitByte(int unit, UnitOffset f) const { return byteAt(fieldOffset(unit, f)); }
  void setUnitByte(int unit, UnitOffset f, int v) { setByteAt(fieldOffset(unit, f), v); }
  int unitWord(int unit, UnitOffset f) const { return wordAt(fieldOffset(unit, f)); }
  void setUnitWord(int unit, UnitOffset f, int v) { setWordAt(fieldOffset(unit, f), v); }
  int leaderByte(int leader, LeaderField f) const { return byteAt(fieldOffset(leader, f)); }
  void setLeaderByte(int leader, LeaderField f, int v) { setByteAt(fieldOffset(leader, f), v); }
  int leaderWord(int leader, LeaderField f) const { return wordAt(fieldOffset(leader, f)); }
  void setLeaderWord(int leader, LeaderField f, int v) { setWordAt(fieldOffset(leader, f), v); }

  std::string unitName(int unit) const { return textAt(unitOffset(unit), kUnitNameBytes); }

  // N: consecutive unit records from record 0 whose first byte is non-zero,
  // never past the end of section 1.
  int countUnits() const;

  // The comment buffer's text, up to its first zero byte.
  std::string commentText() const;

 private:
  std::vector<std::uint8_t> image_;
  // Bookkeeping of writes, not part of the document's value.
  struct WrittenRange {
    std::int64_t from = 0;
    std::int64_t to = kImageSize;
    bool operator==(const WrittenRange&) const { return true; }
  } written_;
};

// The open game's document and the state kept beside it that no save writes
// and no undo takes back: the selection, the chooser's generation, the
// position editor's redraw flag and the directories.
struct GameModel : GameDocument {
  GameDocument& document() { return *this; }
  const GameDocument& document() const { return *this; }

  GameFileKind chooser = GameFileKind::None;
  bool redrawNeeded = false;
  bool commandLineLoad = false;

  int selectedRow = 0;
  int selectedCol = 0;
  std::array<std::uint16_t, 4> selectedWeapons{};

  std::string currentPath = "scen000.dat";
  std::string dataDir;
  std::string programDir;
  std::string mobDir;
};

}  // namespace tarnel
