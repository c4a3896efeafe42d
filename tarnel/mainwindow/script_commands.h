#pragma once

// "Run Script": a Lua script on the open game's named fields (see
// model/script_runner.h), one command and so one undo step.

#include <string_view>

#include "model/script_runner.h"
#include "model/session.h"

namespace tarnel {

// Runs the script on the open game as a save would see it (the grid's typed
// ratings). A script that finished is applied as the command "Run Script":
// the grid is refilled, the side's weapon names reread when a MOB number
// changed and the open windows shown anew, as after an import. One that
// ended with an error changes nothing. The outcome tells the window what to
// show; without a game its error says so.
ScriptOutcome runScriptCommand(Session& session, std::string_view source, std::string_view scriptName);

}  // namespace tarnel
