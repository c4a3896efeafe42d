#pragma once

#include <string>
#include <vector>

namespace tarnel {

// What Tarnel keeps between runs, stored with QSettings under "Tarnel/Tarnel":
// the directory "Locate MOB Files" chose last, so an installed program, whose
// own directory holds no MOB files, starts there; and the recent files.
std::string rememberedMobDir();
void rememberMobDir(const std::string& dir);
std::vector<std::string> rememberedRecentFiles();
void rememberRecentFiles(const std::vector<std::string>& paths);

}  // namespace tarnel
