#include "mainwindow/settings_location.h"

#include <filesystem>
#include <system_error>

#include "common/file_io.h"

namespace tarnel {

std::string portableSettingsFile(const std::string& programDir) {
  std::string path = programDir.empty() ? std::string(".") : programDir;
  if (path.back() != '/' && path.back() != '\\') path += '/';
  path += kPortableSettingsName;
  std::error_code error;
  return std::filesystem::is_regular_file(common::pathFromUtf8(path), error) ? path : std::string();
}

}  // namespace tarnel
