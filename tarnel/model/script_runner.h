#pragma once

// Lua scripts on the named fields of a game. A script sees `game`: the game
// fields under their JSON names and `game.units`, an array of units whose
// fields are the catalogue's unit fields. Reads give what export writes;
// writes are checked as import checks them. A script runs on a copy of the
// game: only one that finishes yields changes, which the caller then applies
// as one command.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/dice.h"
#include "model/field_catalogue.h"
#include "model/game_model.h"

namespace tarnel {

// What a script may spend before it is stopped.
struct ScriptLimits {
  std::chrono::milliseconds time{5000};
  std::size_t memory = std::size_t{256} << 20;
};

// A finding of warn(u, text) about a unit (its 0-based index), or of
// warn(text) about the game (unit -1).
struct ScriptFinding {
  int unit = -1;
  std::string text;
  bool operator==(const ScriptFinding&) const = default;
};

// A field whose value the script changed, with its final value (texts in
// Windows-1252, as the catalogue stores them).
struct ScriptEdit {
  const NamedField* field = nullptr;
  int unit = 0;  // 0 for a game field
  FieldValue value;
};

struct ScriptOutcome {
  std::string error;   // empty when the script finished
  std::string output;  // print's lines, each ending in "\n"
  std::vector<ScriptFinding> findings;
  std::vector<ScriptEdit> edits;  // catalogue order; empty after an error
  bool ok() const { return error.empty(); }
};

// Runs `source` (UTF-8 Lua text; a leading byte-order mark is skipped) on a
// copy of `model`. Error messages carry `chunkName` and the line ("turn.lua:4:
// units[0].exp: 300 is out of range 0..255"). dice() draws from a copy of
// `dice`, which takes the copy's state only when the script finishes.
ScriptOutcome runScript(const GameModel& model, DiceSource& dice, std::string_view source,
                        std::string_view chunkName = "script", const ScriptLimits& limits = {});

// The outcome's edits stored into the game as the fields' editors store them.
void applyScriptEdits(GameModel& model, const ScriptOutcome& outcome);

// "units[3]: text" or "game: text".
std::string findingLine(const ScriptFinding& finding);

}  // namespace tarnel
