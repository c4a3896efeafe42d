#include "model/game_model.h"

#include <algorithm>

namespace tarnel {

GameModel::GameModel() : image(kImageSize, 0) {}

void GameModel::selectLayout(GameFileKind kind) {
  layout = kind == GameFileKind::Vn3 ? &kVn3Layout : &kVn2Layout;
}

int GameModel::byteAt(std::int64_t offset) const {
  if (offset < 0 || offset >= kImageSize) return 0;
  return image[static_cast<std::size_t>(offset)];
}

void GameModel::setByteAt(std::int64_t offset, int value) {
  if (offset < 0 || offset >= kImageSize) return;
  image[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value & 0xFF);
}

int GameModel::wordAt(std::int64_t offset) const {
  return byteAt(offset) | (byteAt(offset + 1) << 8);
}

void GameModel::setWordAt(std::int64_t offset, int value) {
  setByteAt(offset, value & 0xFF);
  setByteAt(offset + 1, (value >> 8) & 0xFF);
}

std::string GameModel::textAt(std::int64_t offset, int maxBytes) const {
  std::string s;
  for (int k = 0; k < maxBytes; ++k) {
    int b = byteAt(offset + k);
    if (b == 0) break;
    s += static_cast<char>(b);
  }
  return s;
}

std::int64_t GameModel::unitOffset(int unit) const {
  return std::int64_t{sectionOffset[kUnitSection]} + std::int64_t{unit} * layout->unitStride;
}

std::int64_t GameModel::leaderOffset(int leader) const {
  return std::int64_t{sectionOffset[kLeaderSection]} + std::int64_t{leader} * LeaderRecord::kStride;
}

std::int64_t GameModel::positionOffset(int unit) const {
  return std::int64_t{sectionOffset[kPositionSection]} + std::int64_t{unit} * kPositionStride;
}

std::int64_t GameModel::gameDataOffset() const { return sectionOffset[kGameDataSection]; }

std::int64_t GameModel::prestigeOffset() const { return sectionOffset[kPrestigeSection]; }

int GameModel::countUnits() const {
  const int records = loaded == GameFileKind::V10
                          ? kV10Units
                          : std::max(0, sectionLength[kUnitSection]) / layout->unitStride;
  int n = 0;
  while (n < records && unitByte(n, layout->name) != 0) ++n;
  return n;
}

std::string GameModel::commentText() const {
  auto end = std::find(comment.begin(), comment.end(), '\0');
  return std::string(comment.begin(), end);
}

}  // namespace tarnel
