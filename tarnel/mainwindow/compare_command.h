#pragma once

// The main window's "Compare With File": the open game against a game file
// chosen in a dialog of its own, field by named field.

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
};
std::optional<Comparison> compareWithFile(Session& session, FileDialogState& dialog);

}  // namespace tarnel
