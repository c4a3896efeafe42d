#include "gamefiles/game_decoders.h"

#include <algorithm>
#include <array>

#include "gamefiles/game_encoders.h"
#include "gamefiles/section_stream.h"

namespace tarnel {

namespace {
// A ByteSource over bytes in memory.
class MemorySource : public common::ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t read(std::uint8_t* out, std::size_t n) override {
    const std::size_t take = std::min(n, bytes_.size() - pos_);
    std::copy_n(bytes_.data() + pos_, take, out);
    pos_ += take;
    return take;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// The magic is tested on the first bytes, which the stream reads again.
class HeadThenRest : public common::ByteSource {
 public:
  HeadThenRest(std::span<const std::uint8_t> head, common::ByteSource& rest) : head_(head), rest_(rest) {}
  std::size_t read(std::uint8_t* out, std::size_t n) override {
    if (pos_ < head_.size()) {
      const std::size_t take = std::min(n, head_.size() - pos_);
      std::copy_n(head_.data() + pos_, take, out);
      pos_ += take;
      return take;
    }
    return rest_.read(out, n);
  }

 private:
  std::span<const std::uint8_t> head_;
  common::ByteSource& rest_;
  std::size_t pos_ = 0;
};
}  // namespace

bool hasMagic(std::span<const std::uint8_t> bytes, std::string_view magic) {
  // The first line as text of at most 30 characters: 29 bytes, ending after a
  // line feed; compared up to its first NUL byte.
  std::size_t end = std::min<std::size_t>(bytes.size(), 29);
  for (std::size_t k = 0; k < end; ++k) {
    if (bytes[k] == '\n') {
      end = k + 1;
      break;
    }
  }
  std::size_t len = 0;
  while (len < end && bytes[len] != 0) ++len;
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), len) == magic;
}

GameFileKind gameFileKindOf(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
  for (const GameFileKind kind : {GameFileKind::Vn3, GameFileKind::V11})
    if (hasMagic(head, magicOf(kind))) return kind;
  return isV10Size(fileSize) ? GameFileKind::V10 : GameFileKind::None;
}

GameFileKind gameFileKindOf(const std::string& path) {
  const auto size = common::regularFileSize(path);
  const auto head = common::readFileBytes(path, kKindHeadBytes);
  return size && head ? gameFileKindOf(*head, *size) : GameFileKind::None;
}

GameFileKind sectionedKindOf(const std::string& path) {
  const auto head = common::readFileBytes(path, kKindHeadBytes);
  if (!head) return GameFileKind::None;
  const GameFileKind kind = gameFileKindOf(*head, 0);
  return kind == GameFileKind::V10 ? GameFileKind::None : kind;
}

void decodeV10(std::span<const std::uint8_t> bytes, DecodedGame& out) {
  out.kind = GameFileKind::V10;
  if (!isV10Size(bytes.size())) {
    out.error = LoadError::WrongSize;
    return;
  }
  GameModel& m = out.model;
  m.selectLayout(GameFileKind::V10);
  m.loaded = GameFileKind::V10;
  std::vector<std::uint8_t> image(static_cast<std::size_t>(kImageSize), 0);
  std::copy(bytes.begin(), bytes.end(), image.begin());
  m.adoptImage(std::move(image));
  m.v10Length = static_cast<std::int32_t>(bytes.size());
  m.sectionOffset[kUnitSection] = kVn2Layout.v10UnitOffset;
  m.sectionOffset[kPositionSection] = kVn2Layout.v10PositionOffset;
  m.sectionOffset[kLeaderSection] = kVn2Layout.v10LeaderOffset;
  m.sectionOffset[kGameDataSection] = kVn2Layout.v10GameDataOffset;
}

void decodeSectioned(common::ByteSource& bytes, std::uint64_t size, GameFileKind kind, DecodedGame& out) {
  out.kind = kind;
  std::array<std::uint8_t, 64> head{};
  std::size_t held = 0;
  while (held < head.size()) {
    const std::size_t got = bytes.read(head.data() + held, head.size() - held);
    if (got == 0) break;
    held += got;
  }
  const auto magic = std::span(head.data(), held);
  // Only the two sectioned generations have a magic to test.
  const std::string_view want = magicOf(kind);
  if (want.empty() || !hasMagic(magic, want)) {
    out.error = LoadError::WrongMagic;
    return;
  }
  GameModel& m = out.model;
  m.selectLayout(kind);
  // The window need not be larger than the file.
  HeadThenRest source(magic, bytes);
  const auto window = static_cast<std::size_t>(std::min<std::uint64_t>(size + 1, kStreamWindow));
  const StreamEnd end = decodeSectionStream(source, m, window);
  out.tooMuchData = end.status == ReadStatus::TooMuchData;
  out.endedInside = end.endedInside;
  out.noSections = end.noSections;

  // Only bytes that section 33 really holds count: a load cut short by "Too
  // much data" leaves the section's offset at 0, which is the file header.
  const std::int64_t password = m.sectionOffset[kPasswordSection];
  for (int k = 4; k <= 7 && k < m.sectionLength[kPasswordSection]; ++k)
    if (m.byteAt(password + k) != 0) out.error = LoadError::Password;
  m.loaded = out.tooMuchData ? GameFileKind::None : kind;
}

void decodeSectioned(std::span<const std::uint8_t> bytes, GameFileKind kind, DecodedGame& out) {
  MemorySource source(bytes);
  decodeSectioned(source, bytes.size(), kind, out);
}

void decodeGame(std::span<const std::uint8_t> bytes, GameFileKind kind, DecodedGame& out) {
  if (kind == GameFileKind::V10) decodeV10(bytes, out);
  else decodeSectioned(bytes, kind, out);
}

void readGameFile(const std::string& path, GameFileKind kind, DecodedGame& out) {
  out.kind = kind;
  if (kind == GameFileKind::V10) {
    // The size is checked before anything is read.
    const auto size = common::regularFileSize(path);
    if (!size) {
      out.error = LoadError::CannotOpen;
      return;
    }
    if (!isV10Size(*size)) {
      out.error = LoadError::WrongSize;
      return;
    }
    const auto bytes = common::readFileBytes(path, kV10MaxSize);
    if (!bytes || bytes->size() < kV10MinSize) {
      out.error = LoadError::CannotOpen;
      return;
    }
    decodeV10(*bytes, out);
    return;
  }
  // The stream is read to its end through a bounded window, however long the
  // file: empty packets can make a file of any length decode to little.
  common::RegularFile file;
  if (!file.open(path)) {
    out.error = LoadError::CannotOpen;
    return;
  }
  decodeSectioned(file, file.size(), kind, out);
  if (file.failed() && !out.tooMuchData) out.error = LoadError::CannotOpen;
}

LoadMessage loadErrorMessage(LoadError error, GameFileKind kind) {
  using common::MessageIcon;
  const bool v10 = kind == GameFileKind::V10;
  switch (error) {
    case LoadError::None: return {};
    case LoadError::CannotOpen:
      return {v10 ? "Couldn't open V1.0 scenario file" : "Couldn't open save file", "Error", MessageIcon::Error};
    case LoadError::WrongSize: return {"This isn't a VN2 scenario file", "Error", MessageIcon::Error};
    case LoadError::WrongMagic:
      return {kind == GameFileKind::V11 ? "This is not a VN version 1.1 saved game!"
                                        : "This is not a VN 3 version 1.0 saved game!",
              "Fatal Error", MessageIcon::Error};
    case LoadError::Password:
      return {"Password protected file. Preparing to exit", "Security Violation", MessageIcon::Stop};
  }
  return {};
}

std::string cutShortWarning(const DecodedGame& game) {
  if (game.noSections) return "This file holds no sections.";
  if (game.endedInside > 0)
    return "This file ends inside section " + std::to_string(game.endedInside) + ": the rest of it is missing.";
  return {};
}

}  // namespace tarnel
