#include "gamefiles/game_encoders.h"

#include <algorithm>
#include <span>

#include "common/file_io.h"
#include "gamefiles/section_stream.h"

namespace tarnel {

namespace {
// A version 1.0 file is the image's first bytes, as many as were read.
std::span<const std::uint8_t> v10Bytes(const GameDocument& d) {
  const auto length = static_cast<std::size_t>(std::clamp(d.v10Length, 0, static_cast<std::int32_t>(d.image().size())));
  return std::span(d.image().data(), length);
}
}  // namespace

std::string_view magicOf(GameFileKind kind) {
  switch (kind) {
    case GameFileKind::V11: return kMagicV11;
    case GameFileKind::Vn3: return kMagicVn3;
    case GameFileKind::V10:
    case GameFileKind::None: break;
  }
  return {};
}

std::vector<std::uint8_t> encodeGame(const GameDocument& d, GameFileKind kind) {
  if (kind == GameFileKind::None) return {};
  if (kind == GameFileKind::V10) {
    const auto bytes = v10Bytes(d);
    return {bytes.begin(), bytes.end()};
  }
  return writeSectionStream(d, magicOf(kind));
}

bool writeGameFile(const std::string& path, const GameDocument& d, GameFileKind kind) {
  if (kind == GameFileKind::None) return false;
  if (kind == GameFileKind::V10) return common::writeFileSafely(path, v10Bytes(d));
  return common::writeFileSafely(path, encodeGame(d, kind));
}

}  // namespace tarnel
