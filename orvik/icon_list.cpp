#include "icon_list.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace orvik {

std::string iconListHeader(std::string_view edition) {
  std::string text = ";This is a Orvik file of icons for ";
  text.append(edition);
  text +=
      "\r\n"
      ";Comments start with a semi-colon ;\r\n"
      ";Icon,   Body,,    Turret\r\n"
      "; #, File, Icon#, File, Icon#\r\n";
  return text;
}

std::string iconListLine(int index, const ImageEntry& entry) {
  const bool noTurret = entry.turret < 0;
  char line[80];
  const int n = std::snprintf(line, sizeof line, "%4d,  %3d,  %3d,  %3d,  %3d\r\n", index,
                              pictureFile(entry.body), pictureIcon(entry.body),
                              noTurret ? -1 : pictureFile(entry.turret),
                              noTurret ? -1 : pictureIcon(entry.turret));
  return std::string(line, static_cast<std::size_t>(n));
}

std::string iconListText(std::string_view edition, const EntryTable& table, int count) {
  std::string text = iconListHeader(edition);
  const int n = std::clamp(count, 0, kTableEntries);
  for (int i = 0; i < n; ++i) text += iconListLine(i, table[static_cast<std::size_t>(i)]);
  return text;
}

bool saveTextFile(const std::string& path, std::string_view text) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path temp = target;
  temp += ".orvik-tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace orvik
