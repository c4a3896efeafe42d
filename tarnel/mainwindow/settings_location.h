#pragma once

#include <string>

namespace tarnel {

// A file of this name beside the program makes the copy portable: Tarnel
// keeps what it remembers between runs in that file instead of the system's
// store (the registry on Windows, ~/.config on Linux), so a copy on a
// removable drive leaves nothing on the machine. The Windows zip ships one;
// the installer does not install it.
inline constexpr const char* kPortableSettingsName = "portable.ini";

// The settings file of a program in `programDir` when that copy is portable
// (a regular file, or a link to one, named portable.ini lies in the
// directory), else the empty text: the system's store holds the settings.
std::string portableSettingsFile(const std::string& programDir);

}  // namespace tarnel
