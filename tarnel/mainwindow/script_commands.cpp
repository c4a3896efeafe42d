#include "mainwindow/script_commands.h"

#include "mainwindow/json_commands.h"
#include "model/undo.h"

namespace tarnel {

ScriptOutcome runScriptCommand(Session& s, std::string_view source, std::string_view scriptName) {
  ScriptOutcome out;
  if (s.model.loaded == GameFileKind::None) {
    out.error = "Load a game file first.";
    return out;
  }
  runCommand(s, "Run Script", [&] {
    out = runScript(modelAsTyped(s), s.dice, source, scriptName);
    if (!out.ok() || out.edits.empty()) return;
    storeNamedFields(s, [&](GameModel& m) { applyScriptEdits(m, out); });
  });
  return out;
}

}  // namespace tarnel
