// Any bytes as a dump file through the dump window's Load: the image takes
// them from offset 0 on and keeps the rest, the directory stays, and the
// grid refilled from the image stays within its tables.
#include "gamefiles/dump_files.h"
#include "support/game_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarnel;
  const Session& sample = fuzz::detail::loadedSample();
  fuzz::ScratchPrompts prompts;
  Session session(prompts);
  fuzz::startSession(session);
  fuzz::copyDocument(session, sample);
  prompts.openAnswer = fuzz::scratchFile("game.all");
  fuzz::putFile(prompts.openAnswer, std::span(data, size));

  DumpWindow window(session);
  window.formCreate();
  loadDumpFile(session, window);
  const GameModel& m = session.model;
  const GameModel& before = sample.model;
  FUZZ_CHECK(std::equal(data, data + size, m.image().begin()));
  FUZZ_CHECK(std::equal(m.image().begin() + static_cast<std::ptrdiff_t>(size), m.image().end(),
                        before.image().begin() + static_cast<std::ptrdiff_t>(size)));
  FUZZ_CHECK(m.sectionOffset == before.sectionOffset && m.sectionLength == before.sectionLength &&
             m.sectionId == before.sectionId);
  fuzz::checkSession(session);
  FUZZ_CHECK(window.formActivate() && window.listed().size() == static_cast<std::size_t>(sectionCount(m)));
  return 0;
}
