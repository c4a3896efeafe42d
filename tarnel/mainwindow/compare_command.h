#pragma once

// The main window's "Compare With File": the open game against a game file
// chosen in a dialog of its own, field by named field.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gamefiles/game_json.h"
#include "model/session.h"

namespace tarnel {

// The differences of the open game (A, ratings as typed) against a chosen
// game file (B); nullopt when nothing was compared.
struct Comparison {
  std::string otherPath;
  std::vector<GameDifference> lines;
  std::shared_ptr<const GameModel> other;  // game B
};
std::optional<Comparison> compareWithFile(Session& session, FileDialogState& dialog);

// The comparison made again against the same game B, after a change.
Comparison compareAgain(const Session& session, const Comparison& comparison);

// A line as the compare window shows it: a unit's field line names the unit
// beside its index ("units[20] MG Team 20: mor 81 -> 11").
std::string comparisonLineText(const Session& session, const GameDifference& line);

// Whether a line can be taken from game B: only lines of named fields can.
inline bool canTake(const GameDifference& line) { return line.field != nullptr; }

// "Take From File": the fields of the chosen lines stored as game B holds
// them, as one command. Returns the number of fields taken.
int takeFromFile(Session& session, const Comparison& comparison, const std::vector<std::size_t>& lines);

}  // namespace tarnel
