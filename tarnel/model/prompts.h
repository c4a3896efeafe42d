#pragma once

#include <string>

#include "common/int_convert.h"
#include "common/prompts.h"
#include "model/game_model.h"

namespace tarnel {

using common::ConversionError;
using common::FileDialogState;
using common::MessageIcon;
using common::toInt;
using common::tryToInt;

// What the game-file chooser is opened with.
struct GameFileChoice {
  std::string caption;
  std::string mask;
  std::string initialDir;  // empty: wherever the chooser stood last
  GameFileKind generation = GameFileKind::None;
  std::string fileName;  // chosen on return
};

// Tarnel's prompts: the common message boxes and dialogs plus the game-file
// chooser of the three loads.
class Prompts : public common::Prompts {
 public:
  virtual bool chooseGameFile(GameFileChoice& choice) = 0;
};

}  // namespace tarnel
