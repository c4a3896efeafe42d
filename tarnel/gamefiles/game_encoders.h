#pragma once

// Game files encoded without a window, the counterpart of game_decoders.h: a
// document in, the bytes of a file of one generation out, or written through
// common's safe write. The save commands, tarnel-cli, the sample generator
// and the tests write game files through these; decoding what they write in
// the same generation gives the document's image and directory back.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_model.h"

namespace tarnel {

// The 16 characters a sectioned file of the generation starts with:
// "VARNO2_SAVE_V100" for VN2 version 1.1, "VARNO3_SAVE_V100" for VN3, empty
// for version 1.0 files (which have none) and None.
std::string_view magicOf(GameFileKind kind);

// The file bytes of the document in generation `kind`: for version 1.0 the
// first v10Length bytes of the image (never more than the image holds); for
// version 1.1 and VN3 the kind's magic, four zero bytes and the section
// stream of every directory position of non-zero length. Empty for None.
std::vector<std::uint8_t> encodeGame(const GameDocument& document, GameFileKind kind);

// encodeGame's bytes written to `path` through the safe write: true when all
// of them were written; otherwise, and always for None, the file at `path`
// stays as it was.
[[nodiscard]] bool writeGameFile(const std::string& path, const GameDocument& document, GameFileKind kind);

}  // namespace tarnel
