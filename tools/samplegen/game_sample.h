#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/game_model.h"

namespace samplegen {

struct SampleOptions {
  tarnel::GameFileKind kind = tarnel::GameFileKind::Vn3;
  int unitsPerSide = 40;
  int nation0 = 82;  // "US Army"
  int nation1 = 81;  // "Soviet Union"
  int mob0 = 3;
  int mob1 = 7;
  std::uint32_t seed = 1;
  bool password = false;
  std::string description = "River crossing at dawn";  // the editor shows 31 characters
};

// A realistic game image with two sides, formations, named units and leaders,
// positions, game data, prestige and filler sections of mixed content. In
// each armour group the three normal-value bytes are equal, as in the game's
// own files, except for unit kUnevenArmourUnit, whose bytes all differ.
inline constexpr int kUnevenArmourUnit = 1;
tarnel::GameModel makeGameModel(const SampleOptions& options);

// The file bytes of such a game in its generation.
std::vector<std::uint8_t> makeGameFile(const SampleOptions& options);

// A MOB file: 250 weapon names of 15 bytes and the men table.
std::vector<std::uint8_t> makeMobFile(int mobNumber);

// A country data file of roll formulas: a count line, then for each data set
// its description line and the Exp, Mor, Ral, Sk1 and Sk2 rows (Base, d, s,
// d1, s1, Min, Max), with ";" comment lines; CR LF line ends.
inline constexpr const char* kCountryData =
    "; Roll formulas for Tarnel's Country Stats window.\r\n"
    "; Each data set: a description whose first word is the country (_ for a blank),\r\n"
    "; then Base d s d1 s1 Min Max of the Exp, Mor, Ral, Sk1 and Sk2 rolls.\r\n"
    "6\r\n"
    "US_Army 1944 veterans\r\n"
    "70 3 6 1 6 10 95\r\n60 3 6 1 6 10 95\r\n55 3 6 2 6 10 95\r\n65 3 6 1 6 10 95\r\n25 3 6 2 6 0 80\r\n"
    "US_Army 1942 first battles\r\n"
    "45 4 6 2 6 0 80\r\n50 4 6 2 6 0 90\r\n40 4 6 2 6 0 80\r\n45 4 6 2 6 0 80\r\n15 3 6 2 6 0 60\r\n"
    "Soviet_Union 1943 guards\r\n"
    "65 3 6 1 6 10 95\r\n70 3 6 1 6 20 100\r\n50 4 6 2 6 10 90\r\n60 3 6 1 6 10 95\r\n20 3 6 2 6 0 70\r\n"
    "; the first months of the war\r\n"
    "Soviet_Union 1941 conscripts\r\n"
    "35 4 6 2 6 0 70\r\n45 4 6 3 6 0 80\r\n35 4 6 2 6 0 70\r\n40 4 6 2 6 0 70\r\n10 3 6 2 6 0 50\r\n"
    "Britain 1944 armoured division\r\n"
    "60 4 6 2 6 10 90\r\n60 3 6 1 6 10 90\r\n50 4 6 2 6 10 90\r\n65 3 6 1 6 10 95\r\n25 3 6 2 6 0 75\r\n"
    "Germany 1944 panzer division\r\n"
    "75 3 6 1 6 20 100\r\n65 3 6 1 6 10 95\r\n60 3 6 1 6 10 95\r\n70 3 6 1 6 20 100\r\n30 3 6 2 6 0 80\r\n";

}  // namespace samplegen
