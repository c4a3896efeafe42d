#include "mainwindow/about.h"

#include <cstdio>

namespace tarnel {

std::string aboutText() {
  char first[64];
  std::snprintf(first, sizeof first, "This is Version %s of Tarnel", kVersionText);
  return std::string(first) +
         "\nA scenario and saved-game editor for Varno 2 and Varno 3."
         "\nWritten by the Tarnel team. Free to use and to share.";
}

}  // namespace tarnel
