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

inline constexpr int kCountryEntries = 400;
inline constexpr int kCountryNameBytes = 127;
inline constexpr int kCountryRows = 5;    // Exp, Mor, Ral, Sk1, Sk2
inline constexpr int kCountryValues = 7;  // Base, d, s, d1, s1, Min, Max

// One data set of a country data file: the country's name and description
// (Windows-1252 bytes) and the 35 numbers of the five roll rows.
struct CountryDataSet {
  std::string name;
  std::string description;
  std::array<std::array<std::int16_t, kCountryValues>, kCountryRows> values{};
};

// The country table, kept for the whole run. A load overwrites entries from
// the first on; entries from `count` on are no longer used.
struct CountryTable {
  std::array<CountryDataSet, kCountryEntries> entries;
  int count = 0;
};

}  // namespace tarnel
