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

// The answer to "save the changes first?".
enum class SaveChoice { Save, Discard, Cancel };

// Tarnel's prompts: the common message boxes and dialogs plus the game-file
// chooser of the three loads and the question before unsaved edits are lost.
class Prompts : public common::Prompts {
 public:
  virtual bool chooseGameFile(GameFileChoice& choice) = 0;
  // Prompts without a user (the command-line tools) discard.
  virtual SaveChoice askSaveChanges(const std::string& /*text*/, const std::string& /*title*/) {
    return SaveChoice::Discard;
  }
  // A warning the command may go past: true to go on. A window shows the
  // warning followed by the question with Yes and No, No by default; prompts
  // without a user (the command-line tools) show the warning alone and go on.
  virtual bool warnAndAsk(const std::string& warning, const std::string& /*question*/, const std::string& title) {
    message(warning, title, MessageIcon::Warning);
    return true;
  }
};

}  // namespace tarnel
