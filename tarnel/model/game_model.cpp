#include "model/game_model.h"

#include <algorithm>

namespace tarnel {

GameDocument::GameDocument() : image_(kImageSize, 0) {}

void GameDocument::selectLayout(GameFileKind kind) {
  layout = kind == GameFileKind::Vn3 ? &kVn3Layout : &kVn2Layout;
}

int GameDocument::byteAt(std::int64_t offset) const {
  if (offset < 0 || offset >= static_cast<std::int64_t>(image_.size())) return 0;
  return image_[static_cast<std::size_t>(offset)];
}

void GameDocument::setByteAt(std::int64_t offset, int value) {
  if (offset < 0 || offset >= static_cast<std::int64_t>(image_.size())) return;
  image_[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value & 0xFF);
}

int GameDocument::wordAt(std::int64_t offset) const {
  return byteAt(offset) | (byteAt(offset + 1) << 8);
}

void GameDocument::setWordAt(std::int64_t offset, int value) {
  setByteAt(offset, value & 0xFF);
  setByteAt(offset + 1, (value >> 8) & 0xFF);
}

std::string GameDocument::textAt(std::int64_t offset, int maxBytes) const {
  std::string s;
  for (int k = 0; k < maxBytes; ++k) {
    int b = byteAt(offset + k);
    if (b == 0) break;
    s += static_cast<char>(b);
  }
  return s;
}

std::int64_t GameDocument::unitOffset(int unit) const {
  return std::int64_t{sectionOffset[kUnitSection]} + std::int64_t{unit} * layout->unitStride;
}

std::int64_t GameDocument::leaderOffset(int leader) const {
  return std::int64_t{sectionOffset[kLeaderSection]} + std::int64_t{leader} * kLeaderStride;
}

std::int64_t GameDocument::positionOffset(int unit) const {
  return std::int64_t{sectionOffset[kPositionSection]} + std::int64_t{unit} * kPositionStride;
}

std::int64_t GameDocument::gameDataOffset() const { return sectionOffset[kGameDataSection]; }

std::int64_t GameDocument::prestigeOffset() const { return sectionOffset[kPrestigeSection]; }

int GameDocument::countUnits() const {
  const int records = loaded == GameFileKind::V10
                          ? kV10Units
                          : std::max(0, sectionLength[kUnitSection]) / layout->unitStride;
  int n = 0;
  while (n < records && unitByte(n, layout->name) != 0) ++n;
  return n;
}

std::string GameDocument::commentText() const {
  auto end = std::find(comment.begin(), comment.end(), '\0');
  return std::string(comment.begin(), end);
}

}  // namespace tarnel
