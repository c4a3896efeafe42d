// Any bytes as a CSV unit file through "Paste CSV Unit File": only the unit
// section changes and the refilled grid stays within its tables. Then the
// export of the units pasted back over them is the identity on the unit
// bytes, up to the zero bytes after a name.
#include <cstdio>

#include "sidefiles/csv_units.h"
#include "support/game_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarnel;
  const Session& sample = fuzz::detail::loadedSample();
  fuzz::ScratchPrompts prompts;
  Session session(prompts);
  fuzz::startSession(session);
  fuzz::copyDocument(session, sample);
  prompts.openAnswer = fuzz::scratchFile("units.csv");
  fuzz::putFile(prompts.openAnswer, std::span(data, size));

  pasteCsvUnitFile(session);
  fuzz::checkSession(session);
  const GameModel& m = session.model;
  const auto begin = static_cast<std::size_t>(m.sectionOffset[kUnitSection]);
  const auto end = begin + static_cast<std::size_t>(m.sectionLength[kUnitSection]);
  FUZZ_CHECK(std::equal(m.image().begin(), m.image().begin() + static_cast<std::ptrdiff_t>(begin), sample.model.image().begin()));
  FUZZ_CHECK(std::equal(m.image().begin() + static_cast<std::ptrdiff_t>(end), m.image().end(),
                        sample.model.image().begin() + static_cast<std::ptrdiff_t>(end)));

  const std::string text = csvUnitText(m);
  static GameModel again;
  again = m;
  pasteCsvUnits(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), again);
  std::vector<std::uint8_t> expected = m.image();
  for (int k = 0; k < m.unitCount; ++k) {
    const auto name = expected.begin() + m.unitOffset(k);
    std::fill(std::find(name, name + kUnitNameBytes, std::uint8_t{0}), name + kUnitNameBytes, std::uint8_t{0});
  }
  if (again.image() != expected) {
    const auto at = std::mismatch(expected.begin(), expected.end(), again.image().begin()).first - expected.begin();
    const std::int64_t unit = (at - m.unitOffset(0)) / m.layout->unitStride;
    std::fprintf(stderr, "unit %lld byte %lld: exported %d, pasted back %d\n", static_cast<long long>(unit),
                 static_cast<long long>(at - m.unitOffset(static_cast<int>(unit))), expected[static_cast<std::size_t>(at)],
                 again.image()[static_cast<std::size_t>(at)]);
    FUZZ_CHECK(again.image() == expected);
  }
  return 0;
}
