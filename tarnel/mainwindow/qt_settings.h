#pragma once

#include <QSettings>
#include <memory>
#include <string>
#include <vector>

namespace tarnel {

// The store of everything Tarnel keeps between runs, for the program in
// `programDir`: the portable.ini beside it when there is one
// (settings_location.h), else the system's store under "Tarnel/Tarnel".
// Every value Tarnel remembers goes through this one function.
std::unique_ptr<QSettings> openSettings(const std::string& programDir);

// The directory "Locate MOB Files" chose last, so an installed program,
// whose own directory holds no MOB files, starts there.
std::string rememberedMobDir(const std::string& programDir);
void rememberMobDir(const std::string& programDir, const std::string& dir);
// The last game files opened or saved, newest first (Files > Recent Files).
std::vector<std::string> rememberedRecentFiles(const std::string& programDir);
void rememberRecentFiles(const std::string& programDir, const std::vector<std::string>& paths);

}  // namespace tarnel
