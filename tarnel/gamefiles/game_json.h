#pragma once

// A game as a JSON document of named fields (docs/json-format.md), the
// document applied back to a game, and the comparison of two games field by
// field.

#include <string>
#include <string_view>
#include <vector>

#include "model/game_model.h"

namespace tarnel {

// The document of a loaded game: format, generation, game data and every
// unit, texts converted from Windows-1252 to UTF-8; two-space indented.
std::string exportGameJson(const GameModel& model);

// Applies the fields a document holds to the game. The whole document is
// checked first: on any fault nothing changes and the reason is returned,
// starting with the file's name and naming the field's path
// ("edit.json: units[7].exp: 300 is out of range 0..255"). A field whose
// value equals the game's is left alone; a changed one is stored as its
// editor stores it.
struct ImportOutcome {
  std::string error;  // empty when the document was applied
  int changedFields = 0;
  // Set when the document says it was exported from a game of another
  // generation or unit count: "This document was exported from a VN2
  // version 1.1 game of 60 units; the open game is a VN3 game of 96 units."
  std::string otherGame;
  bool ok() const { return error.empty(); }
};
ImportOutcome importGameJson(GameModel& model, std::string_view json, std::string_view fileName);

// What differs between game A and game B: every named field
// ("units[12].exp: 40 -> 50"), units present in one of them only, and the
// bytes outside every named field that differ ("section 5: 12 bytes
// differ"), so that no difference goes unreported. Games of different
// generations compare by named fields only.
struct GameDifference {
  std::string text;
  int unit = -1;  // the unit a line is about, -1 for the game
};
std::vector<GameDifference> diffGames(const GameModel& a, const GameModel& b);

const char* generationName(GameFileKind kind);

}  // namespace tarnel
