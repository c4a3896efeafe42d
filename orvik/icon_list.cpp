#include "icon_list.h"

#include <algorithm>
#include <cstdio>

#include "common/file_io.h"
#include "common/int_convert.h"

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

bool writeIconList(const std::string& path, std::string_view edition, const EntryTable& table,
                   std::string_view entriesField) {
  const int count = common::toInt(entriesField);
  return common::writeFileSafely(path, iconListText(edition, table, count));
}

}  // namespace orvik
