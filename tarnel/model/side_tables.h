#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarnel {

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

}  // namespace tarnel
