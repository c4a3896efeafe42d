#include "mainwindow/about.h"

#include <cstdio>

#include "common/file_io.h"

namespace tarnel {

std::string aboutText() {
  char first[64];
  std::snprintf(first, sizeof first, "This is Version %s of Tarnel", kVersionText);
  return std::string(first) +
         "\nA scenario and saved-game editor for Varno 2 and Varno 3."
         "\nWritten by the Tarnel team. Free to use and to share.";
}

std::string helpFilePath(const std::string& programDir) {
  const std::string dir = programDir.empty() ? std::string(".") : programDir;
  const std::string beside = dir + "/" + kHelpFileName;
  const std::string installed = dir + "/" + kInstalledDataDir + "/" + kHelpFileName;
  if (!common::regularFileSize(beside) && common::regularFileSize(installed)) return installed;
  return beside;
}

}  // namespace tarnel
