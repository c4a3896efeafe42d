#pragma once

#include <QString>
#include <string>

#include "common/text1252.h"

namespace common {

// Texts of game files are Windows-1252 bytes; widgets hold Unicode. These
// convert at the edge, both ways.
inline QString fromCp1252(const std::string& bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }
inline std::string toCp1252(const QString& text) { return utf8ToCp1252(text.toStdString()); }

}  // namespace common
