#pragma once

#include <string>

namespace tarnel {

// The one thing Tarnel keeps between runs: the directory "Locate MOB Files"
// chose last, so an installed program, whose own directory holds no MOB
// files, starts there. Stored with QSettings under "Tarnel/Tarnel".
std::string rememberedMobDir();
void rememberMobDir(const std::string& dir);

}  // namespace tarnel
