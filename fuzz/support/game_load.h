// The body of the three game-load targets: any bytes as a game file of one
// generation through the load command (grid fill, MOB files and skill
// classes included), then a save and a load of what was saved.
#pragma once

#include "gamefiles/game_files.h"
#include "support/tarnel_fuzz.h"

namespace fuzz {

namespace detail {
// The state every input starts from: the sample VN3 game loaded, so a refused
// load has a document to leave alone.
inline const tarnel::Session& loadedSample() {
  static ScratchPrompts prompts;
  static tarnel::Session* session = [] {
    putSampleMobFiles();
    prompts.input = scratchFile("sample.dat");
    putFile(prompts.input, samplegen::makeGameFile({}));
    auto* s = new tarnel::Session(prompts);
    startSession(*s);
    FUZZ_CHECK(tarnel::loadGame(*s, tarnel::GameFileKind::Vn3));
    return s;
  }();
  return *session;
}
}  // namespace detail

inline int runGameLoad(tarnel::GameFileKind kind, const std::uint8_t* data, std::size_t size) {
  using tarnel::GameFileKind;
  const tarnel::Session& sample = detail::loadedSample();
  ScratchPrompts prompts;
  tarnel::Session session(prompts);
  startSession(session);
  copyDocument(session, sample);

  std::vector<std::uint8_t> file(data, data + size);
  // Short inputs stand for the start of a version 1.0 file of the smallest
  // size, so the fuzzer reaches the records without making 700 kB inputs.
  constexpr std::size_t kV10MinSize = 705076;
  if (kind == GameFileKind::V10 && file.size() < kV10MinSize) file.resize(kV10MinSize, 0);
  putFile(prompts.input, file);

  if (!tarnel::loadGame(session, kind)) {
    FUZZ_CHECK(sameDocument(session, sample));
    return 0;
  }
  checkSession(session);
  if (session.model.loaded != kind) {
    // A load cut short by a full image shows its message and is never saved.
    FUZZ_CHECK(prompts.showed("Error"));
    tarnel::saveGame(session, kind);
    FUZZ_CHECK(!common::regularFileSize(prompts.output));
    return 0;
  }

  // A load followed by a save without edits: version 1.0 files come back
  // byte for byte; a sectioned file decodes again to the same sections, and
  // saving that gives the same bytes once more.
  tarnel::saveGame(session, kind);
  FUZZ_CHECK(!prompts.showed("Aborting Save"));
  auto saved = common::readFileBytes(prompts.output);
  FUZZ_CHECK(saved.has_value());
  if (kind == GameFileKind::V10) {
    FUZZ_CHECK(*saved == file);
    return 0;
  }
  ScratchPrompts againPrompts;
  againPrompts.input = prompts.output;
  againPrompts.output = scratchFile("saved-again.dat");
  tarnel::Session again(againPrompts);
  startSession(again);
  FUZZ_CHECK(tarnel::loadGame(again, kind));
  checkSession(again);
  FUZZ_CHECK(again.model.loaded == kind);
  FUZZ_CHECK(sameSections(session.model, again.model));
  tarnel::saveGame(again, kind);
  FUZZ_CHECK(common::readFileBytes(againPrompts.output) == saved);
  return 0;
}

}  // namespace fuzz
