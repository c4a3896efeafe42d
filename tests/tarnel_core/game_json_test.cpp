// Decoding without prompts, the JSON document of a game, import onto a game
// and the comparison of two games.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "game_sample.h"
#include "gamefiles/game_decoders.h"
#include "gamefiles/game_encoders.h"
#include "gamefiles/game_json.h"
#include "mainwindow/main_commands.h"
#include "model/session.h"
#include "support/scripted_prompts.h"
#include "support/test_dir.h"
#include "common/file_io.h"

using namespace tarnel;
using Bytes = std::vector<std::uint8_t>;
using nlohmann::json;

namespace {

Bytes sampleFile(GameFileKind kind, int unitsPerSide = 12) {
  samplegen::SampleOptions o;
  o.kind = kind;
  o.unitsPerSide = unitsPerSide;
  return samplegen::makeGameFile(o);
}

std::unique_ptr<DecodedGame> decode(GameFileKind kind, const Bytes& bytes) {
  auto d = std::make_unique<DecodedGame>();
  decodeGame(bytes, kind, *d);
  return d;
}

Bytes saved(const GameModel& m) { return encodeGame(m, m.loaded); }

class EachGeneration : public ::testing::TestWithParam<GameFileKind> {};

INSTANTIATE_TEST_SUITE_P(Json, EachGeneration,
                         ::testing::Values(GameFileKind::V10, GameFileKind::V11, GameFileKind::Vn3),
                         [](const ::testing::TestParamInfo<GameFileKind>& p) {
                           return std::string(p.param == GameFileKind::V10 ? "V10" : p.param == GameFileKind::V11 ? "V11" : "VN3");
                         });

// Export then import changes no byte, and the diff of a game with itself is
// empty; an edited document comes back in the export and in the diff.
TEST_P(EachGeneration, ExportImportIsTheIdentityAndEditsShow) {
  // Values no editor writes but a file may hold: a hidden flag of 2, leader
  // names holding a "/" or "\" byte.
  auto poked = decode(GetParam(), sampleFile(GetParam()));
  ASSERT_TRUE(poked->ok());
  GameModel& p = poked->model;
  p.setByteAt(p.positionOffset(1) + 14, 2);
  const std::string slashes("A/B\0C\\D\0", 8);
  for (std::size_t k = 0; k < 16; ++k) p.setByteAt(p.leaderOffset(2) + static_cast<std::int64_t>(k), k < 8 ? slashes[k] : 0);
  const Bytes file = saved(p);
  auto game = decode(GetParam(), file);
  const std::string text = exportGameJson(game->model);
  json doc = json::parse(text);
  EXPECT_EQ(doc["units"][2]["leader"]["name"], "A\\/B/C\\\\D");
  // The leader names alone onto the unedited sample give back their bytes.
  auto other = decode(GetParam(), sampleFile(GetParam()));
  json names = {{"units", {{{"index", 2}, {"leader", {{"name", doc["units"][2]["leader"]["name"]}}}}}}};
  ASSERT_TRUE(importGameJson(other->model, names.dump(), "names.json").ok());
  for (int k = 0; k < 16; ++k) EXPECT_EQ(other->model.byteAt(other->model.leaderOffset(2) + k), p.byteAt(p.leaderOffset(2) + k)) << k;

  EXPECT_EQ(doc["generation"], generationName(GetParam()));
  EXPECT_EQ(doc["units"].size(), 24u);
  EXPECT_EQ(doc["game"].contains("prestige"), GetParam() != GameFileKind::V10);
  EXPECT_EQ(doc["units"][0].contains("menAtStart"), GetParam() == GameFileKind::Vn3);

  const ImportOutcome same = importGameJson(game->model, text, "game.json");
  ASSERT_TRUE(same.ok()) << same.error;
  EXPECT_EQ(same.changedFields, 0);
  EXPECT_EQ(saved(game->model), file);

  auto before = decode(GetParam(), file);
  EXPECT_TRUE(diffGames(before->model, game->model).empty());

  // Every side-0 unit 10 more experience (a script's edit), a leader, a hex.
  json edit = {{"game", {{"victoryHexes", {nullptr, {{"x", 7}}}}}}, {"units", json::array()}};
  for (const json& u : doc["units"])
    if (u["side"] == 0) edit["units"].push_back({{"index", u["index"]}, {"exp", u["exp"].get<int>() + 10}});
  json leaderEdit = {{"name", "Karl/Marx"}, {"kills", 300}};
  bool merged = false;
  for (json& u : edit["units"])
    if (u["index"] == 3) merged = (u["leader"] = leaderEdit, true);
  if (!merged) edit["units"].push_back({{"index", 3}, {"leader", leaderEdit}});
  const ImportOutcome applied = importGameJson(game->model, edit.dump(), "edit.json");
  ASSERT_TRUE(applied.ok()) << applied.error;
  const json after = json::parse(exportGameJson(game->model));
  EXPECT_EQ(after["units"][0]["exp"], doc["units"][0]["exp"].get<int>() + 10);
  EXPECT_EQ(after["units"][3]["leader"]["name"], "Karl/Marx");
  EXPECT_EQ(after["units"][3]["leader"]["kills"], 300);
  EXPECT_EQ(after["game"]["victoryHexes"][1]["x"], 7);

  const auto lines = diffGames(before->model, game->model);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].text, "game.victoryHexes[1].x: " + doc["game"]["victoryHexes"][1]["x"].dump() + " -> 7");
  EXPECT_EQ(lines[1].text, "units[0].exp: " + doc["units"][0]["exp"].dump() + " -> " +
                               std::to_string(doc["units"][0]["exp"].get<int>() + 10));
  EXPECT_EQ(lines[1].unit, 0);
  bool leader = false;
  for (const auto& l : lines) {
    leader = leader || l.text == "units[3].leader.name: " + doc["units"][3]["leader"]["name"].dump() + " -> \"Karl/Marx\"";
    EXPECT_EQ(l.text.find("section"), std::string::npos) << l.text;  // every change is a named field
    EXPECT_EQ(l.text.find("file:"), std::string::npos) << l.text;
  }
  EXPECT_TRUE(leader);
}

// One refusal of each kind: the whole document is refused, the game keeps
// every byte and the reason starts with the file's name ("edit.json: " where
// the row leaves it out) and names the field's path.
TEST(JsonImport, RefusesTheWholeDocument) {
  const Bytes file = sampleFile(GameFileKind::Vn3);
  const std::string deep = "{\"game\": " + std::string(100000, '[') + std::string(100000, ']') + "}";
  const std::string huge(12u << 20, 'x');
  const struct {
    std::string json;
    std::string error;
  } cases[] = {
      {"{\"units\": [", "edit.json is not a complete JSON text: it ends inside an array at line 1."},
      {"{\n \"game\": {\"turn\": 1,\n\n", "edit.json is not a complete JSON text: it ends inside an object at line 4."},
      {"{\"units\": [{\"name\": \"Rif", "edit.json is not a complete JSON text: it ends inside a text at line 1."},
      {" \n", "edit.json is empty: it holds no JSON text."},
      {"{\"game\": {\"turn\": 1,}}", "edit.json is not a JSON text: JSON does not allow what stands at line 1, column 21 ({\"game\": {\"turn\": 1,})."},
      {"{\n  \"game\": {\"turn\": tru}}", "edit.json is not a JSON text: JSON does not allow what stands at line 2, column 23 (\"game\": {\"turn\": tru})."},
      {"{\"units\": [{\"name\": \"A\tB\"}]}", "edit.json is not a JSON text: the text at line 1, column 23 holds a control character, a byte that is not UTF-8 or an escape JSON does not know."},
      {"[1]", "the document is not a JSON object"},
      {"{\"game\": {\"turn\": 66e3633}}", "game.turn: 66e3633 is not a whole number"},
      {"{\"units\": [{\"index\": 0, \"exp\": 11, \"index\": 2}]}", "units[0].index: repeated key"},
      {"{\"units\": [], \"game\": {}, \"units\": []}", "units: repeated key"},
      {deep, "game[0][0][0][0]: nested too deeply for a game document"},
      {"{\"units\": [{\"index\": 2, \"exp\": [[[[1]]]]}]}", "units[0].exp[0][0]: nested too deeply for a game document"},
      {"{\"units\": [{\"index\": 2, \"name\": \"" + huge + "\"}]}",
       "units[2].name: \"" + std::string(40, 'x') + "\xe2\x80\xa6\" is longer than 15 characters"},
      {"{\"" + huge + "\": 1}", std::string(40, 'x') + "\xe2\x80\xa6: unknown key"},
      {"{\"units\": [{\"index\": 2, \"name\": \"A\\u0000B\"}]}", "units[2].name: \"A\\u0000B\" holds a zero character"},
      {"{\"game\": {\"description\": \"" + std::string(32, 'd') + "\"}}",
       "game.description: \"" + std::string(32, 'd') + "\" is longer than 31 characters"},
      {"{\"unitCount\": 801}", "unitCount: 801 is out of range 0..800"},
      {"{\"units\": [{\"index\": 1, \"position\": {\"hidden\": 2}}]}", "units[1].position.hidden: 2 is out of range 0..1"},
      {"{\"units\": [{\"index\": 2, \"leader\": {\"name\": \"A/B/C\"}}]}", "units[2].leader.name: \"A/B/C\" breaks the leader rule: First/Second, at most 14 characters besides the \"/\""},
      {"{\"gmae\": {}}", "gmae: unknown key"},
      {"{\"units\": [{\"index\": 2, \"exp\": 1}, {\"index\": 7, \"expr\": 50}]}", "units[7].expr: unknown key"},
      {"{\"units\": [{\"index\": 7, \"leader\": {\"rallly\": 5}}]}", "units[7].leader.rallly: unknown key"},
      {"{\"units\": [{\"index\": 7, \"exp\": 300}]}", "units[7].exp: 300 is out of range 0..255"},
      {"{\"units\": [{\"index\": 7, \"exp\": \"50\"}]}", "units[7].exp: \"50\" is not a whole number"},
      {"{\"units\": [{\"index\": 7, \"exp\": 5.5}]}", "units[7].exp: 5.5 is not a whole number"},
      {"{\"units\": [{\"index\": 7, \"position\": {\"x\": 40000}}]}", "units[7].position.x: 40000 is out of range -32768..32767"},
      {"{\"units\": [{\"index\": 7, \"name\": 5}]}", "units[7].name: 5 is not a text"},
      {"{\"units\": [{\"index\": 24, \"exp\": 5}]}", "units[0].index: 24 names no unit of the game (it has 24)"},
      {"{\"units\": [{\"exp\": 5}]}", "units[0]: no \"index\" names its unit"},
      {"{\"units\": [{\"index\": 1}, {\"index\": 1}]}", "units[1]: named twice"},
      {"{\"units\": [{\"index\": 2, \"name\": \"A name of twenty chr\"}]}", "units[2].name: \"A name of twenty chr\" is longer than 15 characters"},
      {"{\"units\": [{\"index\": 2, \"name\": \"Пехота\"}]}", "units[2].name: \"Пехота\" has a character Windows-1252 cannot hold"},
      {"{\"units\": [{\"index\": 2, \"leader\": {\"name\": \"SmithJones\"}}]}", "units[2].leader.name: \"SmithJones\" breaks the leader rule: First/Second, at most 14 characters besides the \"/\""},
      {"{\"units\": [{\"index\": 2, \"weapons\": [{}, {}, {}, {}, {}]}]}", "units[2].weapons: 5 entries where there are 4"},
      {"{\"game\": {\"countries\": [1, 2, 3, 256]}}", "game.countries[3]: 256 is out of range 0..255"},
      {"{\"game\": {\"victoryHexes\": [{\"x\": 1, \"z\": 2}]}}", "game.victoryHexes[0].z: unknown key"},
      {"{\"format\": \"csv\"}", "format: \"csv\" is not \"tarnel-game\""},
      {"{\"formatVersion\": 2}", "formatVersion: 2 is not 1"},
  };
  for (const auto& c : cases) {
    auto game = decode(GameFileKind::Vn3, file);
    const ImportOutcome r = importGameJson(game->model, c.json, "edit.json");
    EXPECT_EQ(r.error, c.error.starts_with("edit.json") ? c.error : "edit.json: " + c.error) << c.json.substr(0, 80);
    EXPECT_EQ(saved(game->model), file) << c.json.substr(0, 80);
  }
  // Fields a generation has not: prestige of a version 1.0 file, the VN3
  // bytes in a version 1.1 file.
  auto v10 = decode(GameFileKind::V10, sampleFile(GameFileKind::V10));
  EXPECT_EQ(importGameJson(v10->model, "{\"game\": {\"prestige\": 5}}", "p.json").error, "p.json: game.prestige: this game file has no such field");
  auto v11 = decode(GameFileKind::V11, sampleFile(GameFileKind::V11));
  EXPECT_EQ(importGameJson(v11->model, "{\"units\": [{\"index\": 0, \"menAtStart\": 5}]}", "m.json").error,
            "m.json: units[0].menAtStart: this game file has no such field");
}

// A document that says it comes from a game of another generation or unit
// count is applied with a warning naming both games.
TEST(JsonImport, DocumentOfAnotherGame) {
  const Bytes file = sampleFile(GameFileKind::Vn3);
  const struct {
    const char* json;
    const char* warning;
  } cases[] = {
      {R"({"generation": "1.1", "unitCount": 60, "units": [{"index": 0, "exp": 1}]})",
       "This document was exported from a VN2 version 1.1 game of 60 units; the open game is a VN3 game of 24 units."},
      {R"({"generation": "1.0"})", "This document was exported from a VN2 version 1.0 game; the open game is a VN3 game of 24 units."},
      {R"({"unitCount": 1})", "This document was exported from a game of 1 unit; the open game is a VN3 game of 24 units."},
      {R"({"generation": "VN3", "unitCount": 24})", ""},
      {R"({"units": [{"index": 0, "exp": 1}]})", ""},
  };
  for (const auto& c : cases) {
    auto game = decode(GameFileKind::Vn3, file);
    const ImportOutcome r = importGameJson(game->model, c.json, "other.json");
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.otherGame, c.warning) << c.json;
  }
  // A whole export of another generation.
  auto v11 = decode(GameFileKind::V11, sampleFile(GameFileKind::V11));
  auto vn3 = decode(GameFileKind::Vn3, file);
  const ImportOutcome r = importGameJson(vn3->model, exportGameJson(v11->model), "v11.json");
  EXPECT_EQ(r.otherGame, "This document was exported from a VN2 version 1.1 game of 24 units; the open game is a VN3 game of 24 units.");
  EXPECT_GT(r.changedFields, 0);
}

TEST(JsonDiff, BytesOutsideNamedFieldsAndUnitsOfOneGame) {
  const Bytes file = sampleFile(GameFileKind::Vn3);
  auto a = decode(GameFileKind::Vn3, file);
  auto b = decode(GameFileKind::Vn3, file);
  // Bytes no field names: a filler section, a byte of a unit record, the
  // byte after a name's terminating zero.
  GameModel& m = b->model;
  m.setByteAt(m.sectionOffset[5], m.byteAt(m.sectionOffset[5]) ^ 1);
  m.setByteAt(m.sectionOffset[5] + 1, m.byteAt(m.sectionOffset[5] + 1) ^ 1);
  m.setUnitByte(2, UnitOffset{17}, m.unitByte(2, UnitOffset{17}) + 1);
  const auto nameEnd = m.unitName(4).size() + 1;
  m.setUnitByte(4, UnitOffset{static_cast<int>(nameEnd)}, m.unitByte(4, UnitOffset{static_cast<int>(nameEnd)}) ^ 0x40);
  // A header byte the reader keeps; a normal armour value stored as its
  // editor stores it (six bytes, one field).
  m.setByteAt(18, 7);
  ASSERT_TRUE(importGameJson(m, R"({"units": [{"index": 6, "armour": {"hullSides": 99}}]})", "a.json").ok());
  auto texts = [](const std::vector<GameDifference>& ds) {
    std::vector<std::string> lines;
    for (const auto& d : ds) lines.push_back(d.text);
    return lines;
  };
  EXPECT_EQ(texts(diffGames(a->model, b->model)),
            (std::vector<std::string>{"units[6].armour.hullSides: " + std::to_string(a->model.unitByte(6, UnitOffset{65})) + " -> 99",
                                      "header: 1 byte differs", "section 1: 2 bytes differ", "section 5: 2 bytes differ"}));

  // A unit section of A that ends before B's last unit: the bytes after it
  // in A belong to section 2 and are compared as such.
  GameModel shorter = decode(GameFileKind::Vn3, file)->model;
  shorter.sectionLength[1] = 23 * 243;
  auto cutA = decode(GameFileKind::Vn3, saved(shorter));
  auto fullB = decode(GameFileKind::Vn3, file);
  GameModel& fb = fullB->model;
  fb.setByteAt(fb.sectionOffset[2] + 3, fb.byteAt(fb.sectionOffset[2] + 3) ^ 1);
  EXPECT_EQ(texts(diffGames(cutA->model, fb)),
            (std::vector<std::string>{"units[23]: only in B (" + json(a->model.unitName(23)).dump() + ")",
                                      "section 1: length 5589 -> 194400", "section 2: 1 byte differs"}));

  auto fewer = decode(GameFileKind::Vn3, sampleFile(GameFileKind::Vn3, 11));
  const auto more = diffGames(fewer->model, a->model);
  ASSERT_FALSE(more.empty());
  bool only = false;
  for (const auto& d : more)
    only = only || (d.text == "units[23]: only in B (" + json(a->model.unitName(23)).dump() + ")" && d.unit == 23);
  EXPECT_TRUE(only);

  // Different generations: named fields only, and the generation itself.
  auto v11 = decode(GameFileKind::V11, sampleFile(GameFileKind::V11));
  const auto across = diffGames(v11->model, a->model);
  ASSERT_FALSE(across.empty());
  EXPECT_EQ(across[0].text, "generation: \"1.1\" -> \"VN3\"");
  for (const auto& d : across) EXPECT_EQ(d.text.find("section"), std::string::npos) << d.text;
}

// A sectioned file that ends inside a section header or body keeps what was
// there and says where it ended.
TEST(Decoders, FileCutShort) {
  const Bytes file = sampleFile(GameFileKind::Vn3);
  auto whole = decode(GameFileKind::Vn3, file);
  const std::size_t section12 = 20 + [&] {
    std::size_t at = 0;
    Bytes b(file.begin() + 20, file.end());
    for (int j = 1; j < 12; ++j) {
      const std::int32_t length = std::abs(static_cast<std::int32_t>(b[at + 4] | b[at + 5] << 8 | b[at + 6] << 16 | b[at + 7] << 24));
      at += 9 + static_cast<std::size_t>(length);
    }
    return at;
  }();
  const struct {
    std::size_t size;
    std::string warning;
  } cases[] = {
      {file.size(), ""},
      {20, "This file holds no sections."},
      {17, "This file holds no sections."},
      {section12, ""},  // ends after section 11: nothing is cut
      {section12 + 4, "This file ends inside section 12: the rest of it is missing."},
      {section12 + 10, "This file ends inside section 12: the rest of it is missing."},
      {file.size() - 1, "This file ends inside section " + std::to_string(whole->model.sectionLength[41] > 0 ? 41 : 40) +
                            ": the rest of it is missing."},
  };
  for (const auto& c : cases) {
    auto cut = decode(GameFileKind::Vn3, Bytes(file.begin(), file.begin() + static_cast<long>(c.size)));
    EXPECT_TRUE(cut->ok()) << c.size;
    EXPECT_EQ(cutShortWarning(*cut), c.warning) << c.size;
    if (c.size >= section12) {
      EXPECT_EQ(cut->model.sectionLength[11], whole->model.sectionLength[11]);
    }
  }

  // The load shows the warning once, after what was there is in the grid
  // (not over the grid of the game before); tarnel-cli shares the load.
  tarnel::testing::TestDir tmp("tarnel_cut");
  const std::string path = (tmp.path() / "cut.dat").string();
  ASSERT_TRUE(common::writeFileSafely(path, std::span(file.data(), section12 + 4)));
  struct GridAtMessage : tarnel::testing::ScriptedPrompts {
    const Session* session = nullptr;
    std::vector<int> rows;
    void message(const std::string& text, const std::string& title, MessageIcon icon) override {
      ScriptedPrompts::message(text, title, icon);
      rows.push_back(session->grid.rowCount());
    }
  } prompts;
  Session session(prompts);
  prompts.session = &session;
  session.setProgramDir(tmp.path().string());
  prompts.chooserAnswers.push_back(path);
  ASSERT_TRUE(loadGame(session, GameFileKind::Vn3));
  int warnings = 0;
  for (std::size_t k = 0; k < prompts.messages.size(); ++k) {
    const auto& m = prompts.messages[k];
    if (m.title != "Warning" || m.text != "This file ends inside section 12: the rest of it is missing.") continue;
    ++warnings;
    EXPECT_EQ(prompts.rows[k], 25);  // the 24 units in
  }
  EXPECT_EQ(warnings, 1);
  EXPECT_EQ(session.model.unitCount, 24);
  EXPECT_EQ(session.model.loaded, GameFileKind::Vn3);
}

TEST(Decoders, ErrorsAndTheirMessages) {
  auto wrongMagic = decode(GameFileKind::V11, sampleFile(GameFileKind::Vn3));
  EXPECT_EQ(wrongMagic->error, LoadError::WrongMagic);
  EXPECT_EQ(loadErrorMessage(wrongMagic->error, GameFileKind::V11).text, "This is not a VN version 1.1 saved game!");
  auto wrongSize = decode(GameFileKind::V10, Bytes(705075, 1));
  EXPECT_EQ(wrongSize->error, LoadError::WrongSize);
  EXPECT_TRUE(decode(GameFileKind::V10, Bytes(705481, 1))->ok());
  samplegen::SampleOptions o;
  o.password = true;
  auto locked = decode(GameFileKind::Vn3, samplegen::makeGameFile(o));
  EXPECT_EQ(locked->error, LoadError::Password);
  EXPECT_EQ(loadErrorMessage(LoadError::Password, GameFileKind::Vn3).title, "Security Violation");
  DecodedGame missing;
  readGameFile("/nonexistent/x.dat", GameFileKind::V10, missing);
  EXPECT_EQ(loadErrorMessage(missing.error, GameFileKind::V10).text, "Couldn't open V1.0 scenario file");
}

}  // namespace
