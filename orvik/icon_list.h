#pragma once

#include <string>
#include <string_view>

#include "image_list.h"

namespace orvik {

// The icon list file: four comment lines naming the edition, then one line per
// entry with its number and the picture file and icon of body and turret (-1
// and -1 when there is no turret). Lines end in CR LF.
std::string iconListHeader(std::string_view edition);
std::string iconListLine(int index, const ImageEntry& entry);

// The whole file for the first count entries of the table; a count outside
// 0..750 is taken as the nearest bound.
std::string iconListText(std::string_view edition, const EntryTable& table, int count);

// Write: the icon list of the entry count typed in entriesField, written
// safely to path. The count is converted first, so a text that is no
// integer throws ConversionError before the file is touched. False when the
// file could not be written; an existing file is then left as it was.
bool writeIconList(const std::string& path, std::string_view edition, const EntryTable& table,
                   std::string_view entriesField);

}  // namespace orvik
