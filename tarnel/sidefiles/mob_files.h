#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarnel {

class Session;

inline constexpr int kWeaponNames = 250;
inline constexpr int kWeaponNameBytes = 15;
inline constexpr int kMenOffset = 13750;  // men of unit number t at 13,750 + t

// Weapon names and men counts of the two sides' MOB (VN3: KOB) files, kept for
// the whole run and refilled at each load.
struct MobTables {
  std::array<std::array<std::array<char, kWeaponNameBytes + 1>, kWeaponNames>, 2> names{};
  std::array<std::array<std::uint8_t, kWeaponNames>, 2> men{};
  std::array<bool, 2> available{};

  // The name of weapon w of side s; empty outside the tables.
  std::string weaponName(int side, int weapon) const;
  int menOf(int side, int unitNumber) const;
};

// "%sMOB%02d" or, for VN3 games, "%sKOB%02d".
std::string mobFileName(const std::string& mobDir, bool vn3, int mobNumber);

// Reads both sides' files, side 0 first, warning once per side that cannot be
// opened. Bytes beyond the end of a short file read as zero.
void readMobFiles(Session& session);

// "Locate MOB Files": the MOB directory becomes the chosen file's directory.
void locateMobFiles(Session& session);

}  // namespace tarnel
