#pragma once

#include <string>
#include <string_view>

namespace common {

// Names and texts in game files are single-byte Windows-1252 characters;
// windows convert at the edge only. Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have
// no character and map to the matching C1 control code point so that every
// byte survives a round trip.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters with no Windows-1252 byte become '?'.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace common
