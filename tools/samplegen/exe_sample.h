#pragma once

#include <string>

namespace samplegen {

// Writes dir + "/varno_stand_in.exe": a synthetic stand-in for the game's
// executable with an image list of 750 entries in its last 40,000 bytes,
// starting with the bytes of the search text "00000300060009 (VN3)".
void writeExeSample(const std::string& dir);

}  // namespace samplegen
