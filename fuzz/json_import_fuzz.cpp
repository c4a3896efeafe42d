// Any bytes as a JSON document through import onto the VN3 sample: a refused
// document leaves every byte as it was; an applied one changes only named
// fields, and the export of the result holds every value the document gave.
#include <nlohmann/json.hpp>

#include "gamefiles/game_decoders.h"
#include "gamefiles/game_json.h"
#include "support/game_load.h"

namespace {

using Json = nlohmann::ordered_json;

// Every value of `given` is at the same place in `exported`; null array
// elements were skipped by the import.
void holds(const Json& given, const Json& exported) {
  if (given.is_object()) {
    FUZZ_CHECK(exported.is_object());
    for (const auto& [key, value] : given.items()) {
      FUZZ_CHECK(exported.contains(key));
      holds(value, exported.at(key));
    }
  } else if (given.is_array()) {
    FUZZ_CHECK(exported.is_array() && exported.size() >= given.size());
    for (std::size_t k = 0; k < given.size(); ++k)
      if (!given[k].is_null()) holds(given[k], exported[k]);
  } else {
    FUZZ_CHECK(given == exported);
  }
}

const tarnel::DecodedGame& sample() {
  static const tarnel::DecodedGame* game = [] {
    auto* g = new tarnel::DecodedGame;
    tarnel::decodeSectioned(samplegen::makeGameFile({}), tarnel::GameFileKind::Vn3, *g);
    FUZZ_CHECK(g->ok());
    return g;
  }();
  return *game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarnel;
  static GameModel m;
  m = sample().model;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ImportOutcome r = importGameJson(m, text, "fuzz.json");
  if (!r.ok()) {
    FUZZ_CHECK(m.image() == sample().model.image());
    return 0;
  }
  // Only named fields changed: the comparison finds no other byte.
  // Only named fields changed, and the armour bytes a normal value fills.
  for (const GameDifference& d : diffGames(sample().model, m))
    FUZZ_CHECK(d.text.find("section") != 0 || d.text.find("section 1: ") == 0);

  const Json given = Json::parse(text);
  const Json exported = Json::parse(exportGameJson(m));
  for (const auto& [key, value] : given.items()) {
    if (key == "game") holds(value, exported.at("game"));
    if (key != "units") continue;
    for (const Json& unit : value) holds(unit, exported.at("units").at(unit.at("index").get<std::size_t>()));
  }
  return 0;
}
